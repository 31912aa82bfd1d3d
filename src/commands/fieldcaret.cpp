#include "fieldcaret.h"

#include <QLineEdit>

void putCaretAtStart(QLineEdit* field)
{
    field->deselect();
    field->setCursorPosition(0);
}
