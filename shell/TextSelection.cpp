#include "TextSelection.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextEdit>

namespace {

// The text edits mark line breaks inside a selection with the Unicode
// paragraph separator; the clipboard and every other control expect "\n".
QString withLineFeeds(QString text)
{
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return text;
}

int selectionLength(const QTextCursor& cursor)
{
    return cursor.selectionEnd() - cursor.selectionStart();
}

} // namespace

std::optional<TextSelection> TextSelection::of(QWidget* widget)
{
    TextSelection selection;
    selection.m_lineEdit = qobject_cast<QLineEdit*>(widget);
    selection.m_plainTextEdit = qobject_cast<QPlainTextEdit*>(widget);
    selection.m_textEdit = qobject_cast<QTextEdit*>(widget);
    if (!selection.m_lineEdit && !selection.m_plainTextEdit && !selection.m_textEdit)
        return std::nullopt;
    return selection;
}

int TextSelection::length() const
{
    if (m_lineEdit)
        return static_cast<int>(m_lineEdit->selectedText().size());
    if (m_plainTextEdit)
        return selectionLength(m_plainTextEdit->textCursor());
    return selectionLength(m_textEdit->textCursor());
}

QString TextSelection::text() const
{
    if (m_lineEdit)
        return m_lineEdit->selectedText();
    if (m_plainTextEdit)
        return withLineFeeds(m_plainTextEdit->textCursor().selectedText());
    return withLineFeeds(m_textEdit->textCursor().selectedText());
}

bool TextSelection::isReadOnly() const
{
    if (m_lineEdit)
        return m_lineEdit->isReadOnly();
    if (m_plainTextEdit)
        return m_plainTextEdit->isReadOnly();
    return m_textEdit->isReadOnly();
}

bool TextSelection::replace(const QString& text) const
{
    if (isReadOnly())
        return false;
    if (m_lineEdit) {
        m_lineEdit->insert(text);
        return true;
    }
    if (m_plainTextEdit) {
        QTextCursor cursor = m_plainTextEdit->textCursor();
        cursor.insertText(text);
        m_plainTextEdit->setTextCursor(cursor);
        return true;
    }
    QTextCursor cursor = m_textEdit->textCursor();
    cursor.insertText(text);
    m_textEdit->setTextCursor(cursor);
    return true;
}
