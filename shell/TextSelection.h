#pragma once

#include <QString>
#include <optional>

class QLineEdit;
class QPlainTextEdit;
class QTextEdit;
class QWidget;

// The text selection of the control that has the focus, as the edit commands
// use it. Only text fields have one; buttons, options and the like have none,
// and the commands then do nothing.
class TextSelection
{
public:
    // The selection of the widget, or nothing for a widget without one.
    static std::optional<TextSelection> of(QWidget* widget);

    // Length of the selection in characters.
    int length() const;
    // The selected text, with line breaks as "\n".
    QString text() const;
    bool isReadOnly() const;
    // Replaces the selection with the text, or inserts it at the caret when
    // nothing is selected. A read-only field is left as it is (false).
    bool replace(const QString& text) const;

private:
    TextSelection() = default;

    QLineEdit* m_lineEdit = nullptr;
    QPlainTextEdit* m_plainTextEdit = nullptr;
    QTextEdit* m_textEdit = nullptr;
};
