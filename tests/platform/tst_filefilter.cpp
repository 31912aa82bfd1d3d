// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/filefilter.h"

#include <QTest>

class TestFileFilter : public QObject {
    Q_OBJECT
private slots:
    void converts_data();
    void converts();
};

void TestFileFilter::converts_data()
{
    QTest::addColumn<QString>("pairs");
    QTest::addColumn<QStringList>("filters");

    QTest::newRow("empty") << QString() << QStringList();
    QTest::newRow("captions showing their patterns")
        << "All Files (*.*)|*.*|TNT Files(*.TNT)|*.TNT" << QStringList{"All Files (*.*)", "TNT Files(*.TNT)"};
    QTest::newRow("caption without patterns") << "Text Files|*.txt" << QStringList{"Text Files (*.txt)"};
    QTest::newRow("pattern list") << "Pictures|*.bmp;*.gif; *.jpg"
                                  << QStringList{"Pictures (*.bmp *.gif *.jpg)"};
    QTest::newRow("caption showing a pattern list")
        << "Pictures (*.bmp;*.gif)|*.bmp;*.gif" << QStringList{"Pictures (*.bmp *.gif)"};
    QTest::newRow("caption showing patterns in other case")
        << "Door Files (*.dor)|*.DOR" << QStringList{"Door Files (*.dor)"};
    QTest::newRow("caption showing other patterns")
        << "Text (*.txt)|*.txt;*.log" << QStringList{"Text (*.txt) (*.txt *.log)"};
    QTest::newRow("caption with other parentheses")
        << "Logs (old)|*.log" << QStringList{"Logs (old) (*.log)"};
    QTest::newRow("empty pattern") << "Anything|" << QStringList{"Anything (*)"};
    QTest::newRow("incomplete last pair") << "Text Files|*.txt|Orphan" << QStringList{"Text Files (*.txt)"};
    QTest::newRow("three pairs") << "A (*.a)|*.a|B|*.b|C(*.c)|*.c"
                                 << QStringList{"A (*.a)", "B (*.b)", "C(*.c)"};
}

void TestFileFilter::converts()
{
    QFETCH(QString, pairs);
    QFETCH(QStringList, filters);
    QCOMPARE(qtNameFilters(pairs), filters);
}

QTEST_APPLESS_MAIN(TestFileFilter)
#include "tst_filefilter.moc"
