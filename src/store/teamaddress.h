// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

class QSqlDatabase;

// Where the team database is, read from a PostgreSQL connection URI as libpq
// writes them: postgresql://user@host:5432/velno?sslmode=verify-full. The
// password never comes with it: libpq finds it in ~/.pgpass. Over TCP the
// server's certificate and name are checked (verify-full) unless the URI
// asks for less, which is kept but flagged; a Unix socket needs no TLS.
struct TeamAddress {
    QString host;   // a name, an address, or the folder of a Unix socket; empty: libpq's socket
    int port = -1;   // -1: libpq's default, 5432
    QString database;
    QString user;   // empty: the login name
    // libpq's other settings, as QSqlDatabase::setConnectOptions takes them:
    // key='value' joined by ';'. Always with a connect_timeout.
    QString connectOptions;
    bool overSocket = false;
    // The URI asks for TLS that does not check the server; weakTlsText says what is missed.
    bool weakTls = false;
    QString weakTlsText;

    // The address in the URI, or none with the reason in *error.
    static std::optional<TeamAddress> read(const QString& uri, QString* error);

    // Sets the connection's host, port, database, user and options (not the driver).
    void applyTo(QSqlDatabase& db) const;
    // "velno at db.example.org:5432", for messages.
    QString describe() const;
};
