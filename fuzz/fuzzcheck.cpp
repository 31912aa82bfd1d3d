// SPDX-License-Identifier: GPL-3.0-or-later
#include "fuzzcheck.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace Fuzz {

namespace {

bool isControlByte(char b)
{
    return uchar(b) < 0x20 || uchar(b) == 0x7F;
}

bool isLineEnd(char b)
{
    return b == '\r' || b == '\n';
}

// The lines the program sends: bare words, words with a value after one
// blank, and words the value follows directly.
bool isCommand(const QByteArray& line)
{
    static const QByteArrayList kBare = {"PAROPN", "PAROPB", "KLR EVR", "PRIALL",
                                         "PRIPAR", "PRIEVR", "PRITNT",  "END"};
    static const QByteArrayList kValued = {"DAT ",     "TIM ",     "PARDTM ",  "PARTKT ",
                                           "PARDOT1 ", "PARDOT2 ", "PAROHR1 ", "PAROHR2 ",
                                           "PARCMC ",  "PARMSG ",  "CLR "};
    static const QByteArrayList kJoined = {"PGM", "ATDT"};
    if (kBare.contains(line))
        return true;
    for (const QByteArrayList* words : {&kValued, &kJoined}) {
        for (const QByteArray& word : *words) {
            if (line.startsWith(word))
                return true;
        }
    }
    return false;
}

}   // namespace

void require(bool holds, const char* promise)
{
    if (holds)
        return;
    std::fprintf(stderr, "Broken promise: %s\n", promise);
    std::abort();
}

void startCoreApplication()
{
    static int argc = 1;
    static char name[] = "velno-fuzz";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* const app = new QCoreApplication(argc, argv);
    Q_UNUSED(app);
}

void SentLineCheck::take(const QByteArray& write, const QByteArrayList& linesAsTheyStand)
{
    if (write == "PARMSG") {   // the first of the welcome message's two writes
        require(m_pendingWord.isEmpty(), "the welcome message's word goes out once");
        m_pendingWord = write;
        return;
    }
    require(write.endsWith("\r\n"), "every write ends with CR LF");
    const QByteArray line = m_pendingWord + write.chopped(2);
    m_pendingWord.clear();
    require(std::none_of(line.begin(), line.end(), isLineEnd), "one line per write");
    if (linesAsTheyStand.contains(line))
        return;
    require(std::none_of(line.begin(), line.end(), isControlByte), "no control character inside a line");
    require(isCommand(line), "every line is a command the program sends");
}

void SentLineCheck::takeNew(const QByteArrayList& writes, const QByteArrayList& linesAsTheyStand)
{
    for (; m_checked < writes.size(); ++m_checked)
        take(writes.at(m_checked), linesAsTheyStand);
}

void SentLineCheck::requireWhole() const
{
    require(m_pendingWord.isEmpty(), "the welcome message goes out whole");
}

}   // namespace Fuzz
