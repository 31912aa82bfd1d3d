#pragma once

class QString;
struct Form1Context;

// The line carries 8-bit characters only. True when every character of the
// typed text has a byte of its own; otherwise the operator is told which
// characters cannot be sent, nothing is sent and the text stays as typed.
bool typedTextFitsTheLine(const Form1Context& ctx, const QString& typed);
