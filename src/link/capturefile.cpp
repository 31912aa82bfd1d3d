#include "capturefile.h"

bool CaptureFile::open(const QString& path)
{
    close();
    m_file.setFileName(path);
    return m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered);
}

void CaptureFile::close()
{
    if (m_file.isOpen())
        m_file.close();
}

qint64 CaptureFile::write(const QByteArray& bytes)
{
    if (!isOpen())
        return 0;
    return qMax<qint64>(0, m_file.write(bytes));
}
