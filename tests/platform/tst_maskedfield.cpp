// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/maskedfield.h"
#include "operator.h"
#include "pasteanddrop.h"

#include <QApplication>
#include <QTest>

class TstMaskedField : public QObject {
    Q_OBJECT
private slots:
    void typedValueOfKeysTyped_data();
    void typedValueOfKeysTyped();
    void typedValueOfFullText_data();
    void typedValueOfFullText();
    void numberSignsOtherThanDigitsStayOut_data();
    void numberSignsOtherThanDigitsStayOut();
};

void TstMaskedField::typedValueOfKeysTyped_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<int>("caret");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("typed");
    QTest::addRow("untouched") << "##" << 0 << ""
                               << "  "
                               << "";
    QTest::addRow("one digit of two") << "##" << 0 << "7"
                                      << "7 "
                                      << "7";
    QTest::addRow("leading zero kept") << "##" << 0 << "07"
                                       << "07"
                                       << "07";
    QTest::addRow("three positions") << "###" << 0 << "30"
                                     << "30 "
                                     << "30";
    QTest::addRow("no more than its positions") << "##" << 0 << "123"
                                                << "12"
                                                << "12";
    QTest::addRow("letters and signs refused") << "####" << 0 << "a1-b2.3+"
                                               << "123 "
                                               << "123";
    QTest::addRow("a blank is refused") << "####" << 0 << "1 3"
                                        << "13  "
                                        << "13";
    QTest::addRow("other scripts' digits refused") << "####" << 0
                                                   << "\u0663\u0664"
                                                      "5"
                                                   << "5   "
                                                   << "5";
    QTest::addRow("slash skipped while typing") << "#/#" << 0 << "57"
                                                << "5/7"
                                                << "57";
    QTest::addRow("slash typed over") << "#/#" << 0 << "5/7"
                                      << "5/7"
                                      << "57";
    QTest::addRow("first digit only") << "#/#" << 0 << "5"
                                      << "5/ "
                                      << "5";
    QTest::addRow("second digit only") << "#/#" << 2 << "7"
                                       << " /7"
                                       << "7";
    QTest::addRow("four digits") << "####" << 0 << "0000"
                                 << "0000"
                                 << "0000";
}

void TstMaskedField::typedValueOfKeysTyped()
{
    QFETCH(QString, mask);
    QFETCH(int, caret);
    QFETCH(QString, keys);
    QFETCH(QString, shown);
    QFETCH(QString, typed);
    MaskedField field(mask);
    QCOMPARE(field.positions(), int(mask.count(u'#')));
    field.setCursorPosition(caret);
    typeText(&field, keys);
    QCOMPARE(field.displayText(), shown);
    QCOMPARE(field.typedValue(), typed);
}

void TstMaskedField::typedValueOfFullText_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("fullText");
    QTest::addColumn<QString>("typed");
    QTest::addRow("both door digits") << "#/#"
                                      << "5/7"
                                      << "57";
    QTest::addRow("second door digit") << "#/#"
                                       << " /7"
                                       << "7";
    QTest::addRow("first door digit") << "#/#"
                                      << "5/ "
                                      << "5";
    QTest::addRow("empty") << "#/#"
                           << ""
                           << "";
    QTest::addRow("inner blank") << "####"
                                 << "1 3 "
                                 << "13";
    QTest::addRow("other scripts' digits left out") << "##"
                                                    << "\u0663"
                                                       "4"
                                                    << "4";
    QTest::addRow("directory") << "####"
                               << "0012"
                               << "0012";
}

void TstMaskedField::typedValueOfFullText()
{
    QFETCH(QString, mask);
    QFETCH(QString, fullText);
    QFETCH(QString, typed);
    MaskedField field(mask);
    field.setFullText(fullText);
    QCOMPARE(field.typedValue(), typed);
}

// Found by fuzzing: Qt's digit positions take every number character, so the
// superscripts and fractions of 8-bit text showed in the field while the
// typed value, and so the line, left them out. A key is refused alone, a
// paste as a whole, and a full text leaves the position empty.
void TstMaskedField::numberSignsOtherThanDigitsStayOut_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("typed");
    const QString signs = QStringLiteral("\u00b2\u00b3\u00b9\u00bc\u00bd\u00be");
    for (QChar sign : signs) {
        const QString text = QString(sign) + u'7';
        const int code = sign.unicode();
        QTest::addRow("typed U+%04X", code) << "typed" << text << "7 "
                                            << "7";
        QTest::addRow("keyboard paste U+%04X", code) << "paste" << text << "  "
                                                     << "";
        QTest::addRow("full text U+%04X", code) << "full text" << text << " 7"
                                                << "7";
    }
    // A position takes a digit and nothing else: neither a line break nor
    // a blank, which would erase the digit there.
    QTest::addRow("keyboard paste of two lines") << "paste" << QStringLiteral("4\r\n5") << "45"
                                                 << "45";
    QTest::addRow("drop of two lines") << "drop" << QStringLiteral("4\r\n5") << "45"
                                       << "45";
    QTest::addRow("drop with a blank") << "drop" << QStringLiteral("4 5") << "45"
                                       << "45";
    QTest::addRow("blank key over a digit") << "typed over 45" << QStringLiteral(" ") << "45"
                                            << "45";
}

void TstMaskedField::numberSignsOtherThanDigitsStayOut()
{
    QFETCH(QString, how);
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QFETCH(QString, typed);
    MaskedField field(QStringLiteral("##"));
    if (how == QStringLiteral("typed over 45")) {
        field.setFullText(QStringLiteral("45"));
        field.setCursorPosition(0);
    }
    if (how.startsWith(QStringLiteral("typed")))
        typeText(&field, text);
    else if (how == QStringLiteral("paste"))
        field.insert(text);
    else if (how == QStringLiteral("drop"))
        dropOnto(&field, text);
    else
        field.setFullText(text);
    QCOMPARE(field.displayText(), shown);
    QCOMPARE(field.typedValue(), typed);
}

QTEST_MAIN(TstMaskedField)
#include "tst_maskedfield.moc"
