// SPDX-License-Identifier: GPL-3.0-or-later
#include "teamaddress.h"

#include <QMap>
#include <QSqlDatabase>
#include <QStringList>

#include <cctype>
#include <utility>

namespace {

const QStringList kSchemes = {QStringLiteral("postgresql://"), QStringLiteral("postgres://")};
const QString kVerifyFull = QStringLiteral("verify-full");
const QStringList kSslModes = {QStringLiteral("disable"),   QStringLiteral("allow"),
                               QStringLiteral("prefer"),    QStringLiteral("require"),
                               QStringLiteral("verify-ca"), kVerifyFull};
const QString kDefaultTimeout = QStringLiteral("5");
const QString kDefaultApplication = QStringLiteral("velno");
constexpr int kMaxPort = 65535;
constexpr int kDefaultPort = 5432;

// The parameters handed to libpq as options, in the order they are written.
const QStringList kOptionKeys = {QStringLiteral("sslmode"),
                                 QStringLiteral("sslrootcert"),
                                 QStringLiteral("sslcert"),
                                 QStringLiteral("sslkey"),
                                 QStringLiteral("sslcrl"),
                                 QStringLiteral("connect_timeout"),
                                 QStringLiteral("application_name"),
                                 QStringLiteral("keepalives_idle"),
                                 QStringLiteral("keepalives_interval"),
                                 QStringLiteral("keepalives_count"),
                                 QStringLiteral("tcp_user_timeout")};
// A connection whose server or network went away without a word is given
// up within a minute or two, rather than waited on for as long as TCP
// retries (a quarter of an hour): an idle one is probed after 60 s, three
// times 10 s apart; data the server has not acknowledged for 60 s ends it.
// A server that is there but does not answer is still waited for.
const QList<std::pair<QString, QString>> kLivenessDefaults = {
    {QStringLiteral("keepalives_idle"), QStringLiteral("60")},
    {QStringLiteral("keepalives_interval"), QStringLiteral("10")},
    {QStringLiteral("keepalives_count"), QStringLiteral("3")},
    {QStringLiteral("tcp_user_timeout"), QStringLiteral("60000")},
};
// The parameters that stand for parts of the URI.
const QStringList kPartKeys = {QStringLiteral("host"), QStringLiteral("port"), QStringLiteral("dbname"),
                               QStringLiteral("user")};

// 0 to 15 for a hex digit, -1 for anything else.
int hexValue(char c)
{
    return QByteArrayLiteral("0123456789abcdef").indexOf(char(std::tolower(static_cast<unsigned char>(c))));
}

// Digits only, and not too many for an int; none otherwise.
std::optional<int> wholeNumber(const QString& text)
{
    constexpr int kMaxDigits = 9;
    if (text.isEmpty() || text.size() > kMaxDigits)
        return std::nullopt;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
    }
    return text.toInt();
}

// The text with its %XX sequences decoded as UTF-8; none when one is broken.
std::optional<QString> percentDecoded(const QString& text)
{
    QByteArray bytes;
    const QByteArray utf8 = text.toUtf8();
    for (int i = 0; i < utf8.size(); ++i) {
        if (utf8[i] != '%') {
            bytes += utf8[i];
            continue;
        }
        const int high = i + 2 < utf8.size() ? hexValue(utf8[i + 1]) : -1;
        const int low = i + 2 < utf8.size() ? hexValue(utf8[i + 2]) : -1;
        if (high < 0 || low < 0)
            return std::nullopt;
        bytes += char(high * 16 + low);
        i += 2;
    }
    return QString::fromUtf8(bytes);
}

// libpq's quoting of a value in a key=value string.
QString quoted(QString value)
{
    value.replace(u'\\', QStringLiteral("\\\\")).replace(u'\'', QStringLiteral("\\'"));
    return u'\'' + value + u'\'';
}

bool isSocketFolder(const QString& host)
{
    return host.isEmpty() || host.startsWith(u'/') || host.startsWith(u'@');
}

QString weakTlsText(const QString& mode)
{
    if (mode == QStringLiteral("disable"))
        return QStringLiteral("With sslmode=disable the connection is not encrypted: anyone on the way can "
                              "read and change what is sent.");
    if (mode == QStringLiteral("verify-ca"))
        return QStringLiteral("With sslmode=verify-ca the server's certificate is checked but not its name: "
                              "another server with a certificate of the same authority can pose as it.");
    return QStringLiteral("With sslmode=%1 the server's certificate is not checked: another machine can pose "
                          "as the server.")
        .arg(mode);
}

// Reads one URI; the first fault found stops it, with its reason in error.
class UriReader {
public:
    explicit UriReader(const QString& uri) : m_uri(uri.trimmed()) {}

    std::optional<TeamAddress> read()
    {
        const QString scheme = schemeOf();
        if (scheme.isEmpty())
            return fail(
                QStringLiteral("'%1' is not a PostgreSQL URI: it starts with postgresql:// or postgres://.")
                    .arg(m_uri));
        QString rest = m_uri.mid(scheme.size());
        const int queryAt = rest.indexOf(u'?');
        const QString query = queryAt < 0 ? QString() : rest.mid(queryAt + 1);
        rest.truncate(queryAt < 0 ? rest.size() : queryAt);
        const int pathAt = rest.indexOf(u'/');
        const QString authority = rest.left(pathAt < 0 ? rest.size() : pathAt);
        if (!readAuthority(authority)
            || (pathAt >= 0 && !readPart(QStringLiteral("dbname"), rest.mid(pathAt + 1)))
            || !readQuery(query))
            return std::nullopt;
        return address();
    }

    QString error() const { return m_error; }

private:
    std::nullopt_t fail(const QString& error)
    {
        m_error = error;
        return std::nullopt;
    }

    QString schemeOf() const
    {
        for (const QString& scheme : kSchemes) {
            if (m_uri.startsWith(scheme))
                return scheme;
        }
        return QString();
    }

    // user@host:port, each part optional.
    bool readAuthority(const QString& authority)
    {
        const int at = authority.lastIndexOf(u'@');
        if (at >= 0 && !readUser(authority.left(at)))
            return false;
        const QString hostPort = authority.mid(at + 1);
        if (hostPort.contains(u',')) {
            m_error = QStringLiteral("The URI names more than one server; give one.");
            return false;
        }
        QString host = hostPort;
        QString afterHost;
        if (hostPort.startsWith(u'[')) {
            const int close = hostPort.indexOf(u']');
            afterHost = close < 0 ? QString() : hostPort.mid(close + 1);
            if (close < 2 || !(afterHost.isEmpty() || afterHost.startsWith(u':'))) {
                m_error = QStringLiteral("'%1' is not an IPv6 address in brackets, as [::1].").arg(hostPort);
                return false;
            }
            host = hostPort.mid(1, close - 1);
        } else if (hostPort.count(u':') > 1) {
            m_error = QStringLiteral("'%1': an IPv6 address goes in brackets, as [::1]:5432.").arg(hostPort);
            return false;
        } else if (const int colon = hostPort.indexOf(u':'); colon >= 0) {
            host = hostPort.left(colon);
            afterHost = hostPort.mid(colon);
        }
        const QString port = afterHost.mid(1);
        if (afterHost == QStringLiteral(":")) {
            m_error = QStringLiteral("'%1' has a ':' but no port after it.").arg(hostPort);
            return false;
        }
        return (host.isEmpty() || readPart(QStringLiteral("host"), host))
            && (port.isEmpty() || readPart(QStringLiteral("port"), port));
    }

    bool readUser(const QString& userInfo)
    {
        if (userInfo.contains(u':'))
            return refusePassword();
        return userInfo.isEmpty() || readPart(QStringLiteral("user"), userInfo);
    }

    bool refusePassword()
    {
        m_error =
            QStringLiteral("The URI holds a password, which would be seen by anyone who can see the command "
                           "line or the settings; remove it and keep it in ~/.pgpass instead.");
        return false;
    }

    bool readQuery(const QString& query)
    {
        if (query.isEmpty())
            return true;
        for (const QString& pair : query.split(u'&')) {
            const int equals = pair.indexOf(u'=');
            if (equals <= 0) {
                m_error = QStringLiteral("'%1' in the URI is not key=value.").arg(pair);
                return false;
            }
            const std::optional<QString> key = percentDecoded(pair.left(equals));
            if (!key) {
                m_error = QStringLiteral("'%1' in the URI has a broken %-sequence.").arg(pair);
                return false;
            }
            if (*key == QStringLiteral("password"))
                return refusePassword();
            if (!kPartKeys.contains(*key) && !kOptionKeys.contains(*key)) {
                m_error =
                    QStringLiteral("The URI's parameter '%1' is not one the program passes on; it takes %2.")
                        .arg(*key, (kPartKeys + kOptionKeys).join(QStringLiteral(", ")));
                return false;
            }
            if (!readPart(*key, pair.mid(equals + 1)))
                return false;
        }
        return true;
    }

    // One value, percent-encoded, under its libpq name.
    bool readPart(const QString& key, const QString& encoded)
    {
        const std::optional<QString> value = percentDecoded(encoded);
        if (!value) {
            m_error = QStringLiteral("The %1 '%2' in the URI has a broken %-sequence.").arg(key, encoded);
            return false;
        }
        if (m_values.contains(key)) {
            m_error = QStringLiteral("The URI gives the %1 twice.").arg(key);
            return false;
        }
        if (value->contains(u';')) {
            // The driver turns every ';' of its options into a space.
            m_error = QStringLiteral("The %1 '%2' holds a ';', which the PostgreSQL driver cannot pass on.")
                          .arg(key, *value);
            return false;
        }
        m_values.insert(key, *value);
        return check(key, *value);
    }

    bool check(const QString& key, const QString& value)
    {
        if (key == QStringLiteral("port")) {
            const std::optional<int> port = wholeNumber(value);
            if (!port || *port < 1 || *port > kMaxPort) {
                m_error = QStringLiteral("'%1' is not a port number (1 to 65535).").arg(value);
                return false;
            }
        } else if (key == QStringLiteral("sslmode") && !kSslModes.contains(value)) {
            m_error = QStringLiteral("sslmode '%1' is not one of %2.")
                          .arg(value, kSslModes.join(QStringLiteral(", ")));
            return false;
        } else if (key == QStringLiteral("connect_timeout")) {
            const std::optional<int> seconds = wholeNumber(value);
            if (!seconds || *seconds < 1) {
                m_error =
                    QStringLiteral("connect_timeout '%1' is not a number of seconds, 1 or more.").arg(value);
                return false;
            }
        } else if (key == QStringLiteral("dbname") && value.isEmpty()) {
            m_error = QStringLiteral("The URI names no database: postgresql://host/DATABASE.");
            return false;
        }
        return true;
    }

    std::optional<TeamAddress> address()
    {
        TeamAddress a;
        a.host = m_values.value(QStringLiteral("host"));
        a.port =
            m_values.contains(QStringLiteral("port")) ? m_values.value(QStringLiteral("port")).toInt() : -1;
        a.database = m_values.value(QStringLiteral("dbname"));
        a.user = m_values.value(QStringLiteral("user"));
        if (a.database.isEmpty())
            return fail(QStringLiteral("The URI names no database: postgresql://host/DATABASE."));
        a.overSocket = isSocketFolder(a.host);
        if (!a.overSocket) {
            const QString mode = m_values.value(QStringLiteral("sslmode"), kVerifyFull);
            m_values.insert(QStringLiteral("sslmode"), mode);
            a.weakTls = mode != kVerifyFull;
            if (a.weakTls)
                a.weakTlsText = weakTlsText(mode);
        }
        if (!m_values.contains(QStringLiteral("connect_timeout")))
            m_values.insert(QStringLiteral("connect_timeout"), kDefaultTimeout);
        if (!m_values.contains(QStringLiteral("application_name")))
            m_values.insert(QStringLiteral("application_name"), kDefaultApplication);
        for (const auto& [key, value] : kLivenessDefaults) {
            if (!m_values.contains(key))
                m_values.insert(key, value);
        }
        QStringList options;
        for (const QString& key : kOptionKeys) {
            if (m_values.contains(key))
                options << key + u'=' + quoted(m_values.value(key));
        }
        a.connectOptions = options.join(u';');
        return a;
    }

    const QString m_uri;
    QMap<QString, QString> m_values;   // by libpq's names
    QString m_error;
};

}   // namespace

std::optional<TeamAddress> TeamAddress::read(const QString& uri, QString* error)
{
    UriReader reader(uri);
    std::optional<TeamAddress> address = reader.read();
    if (!address && error)
        *error = reader.error();
    return address;
}

void TeamAddress::applyTo(QSqlDatabase& db) const
{
    db.setHostName(host);
    db.setPort(port);
    db.setDatabaseName(database);
    db.setUserName(user);
    db.setConnectOptions(connectOptions);
}

QString TeamAddress::describe() const
{
    if (overSocket)
        return QStringLiteral("%1 on the socket in %2")
            .arg(database, host.isEmpty() ? QStringLiteral("libpq's folder") : host);
    const QString name = host.contains(u':') ? u'[' + host + u']' : host;
    return QStringLiteral("%1 on %2:%3").arg(database, name, QString::number(port < 0 ? kDefaultPort : port));
}
