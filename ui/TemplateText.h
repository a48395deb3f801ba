#pragma once

#include "TextCodec.h"

#include <QString>
#include <string>

// A template file's bytes as the editor shows them, and the way back. Bytes
// that are valid UTF-8 are read as UTF-8, any others as Windows-1252; the
// text is saved in the encoding it was read in, with the file's own line
// ends (the editor works with "\n" only). A text left as it was shown gives
// back the file's bytes exactly.
class TemplateText
{
public:
    // For a file that could not be read: saved as UTF-8 with "\n".
    TemplateText() = default;
    static TemplateText fromBytes(std::string bytes);

    // The text for the editor, line ends as "\n".
    const QString& text() const { return m_text; }
    TextCodec::Encoding encoding() const { return m_encoding; }
    bool usesCrLf() const { return m_crLf; }

    // The bytes to save for the editor's text. Characters the encoding
    // cannot hold become HTML character references, so nothing is lost.
    std::string bytesFor(const QString& editedText) const;

private:
    std::string m_bytes;
    QString m_text;
    TextCodec::Encoding m_encoding = TextCodec::Encoding::Utf8;
    bool m_crLf = false;
};
