// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayList>

// What every fuzz target shares, Qt Core only: the check that turns a broken
// promise into a finding, the application of a target without widgets, and
// the promise about what reaches the port.
namespace Fuzz {

// Aborts with the promise that does not hold, so libFuzzer keeps the input.
void require(bool holds, const char* promise);

// Creates the one QCoreApplication of a target without widgets. Called from
// LLVMFuzzerInitialize.
void startCoreApplication();

// Every write that reaches the port is one command line the program can
// send: a known command word, no control character inside, one CR LF at its
// end. The welcome message goes out in two writes, its word first. Lines the
// program sends as they stand (the modem's setup line, a file's lines) need
// only be one line.
class SentLineCheck {
public:
    // Checks one write; abort()s on a broken promise.
    void take(const QByteArray& write, const QByteArrayList& linesAsTheyStand = {});
    // Checks the writes after those already checked.
    void takeNew(const QByteArrayList& writes, const QByteArrayList& linesAsTheyStand = {});
    // Between steps: no line is left half-written.
    void requireWhole() const;

private:
    qsizetype m_checked = 0;
    QByteArray m_pendingWord;
};

}   // namespace Fuzz
