#include "TemplateText.h"

namespace {

// The editor knows only "\n"; a lone "\r" also ends a line there.
QString withLineFeeds(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

std::string withCrLf(const std::string& text)
{
    std::string converted;
    converted.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            converted += '\r';
        converted += text[i];
    }
    return converted;
}

} // namespace

TemplateText TemplateText::fromBytes(std::string bytes)
{
    TemplateText file;
    file.m_encoding = TextCodec::detect(bytes);
    file.m_crLf = bytes.find("\r\n") != std::string::npos;
    file.m_text = withLineFeeds(QString::fromStdString(TextCodec::toUtf8(bytes, file.m_encoding)));
    file.m_bytes = std::move(bytes);
    return file;
}

std::string TemplateText::bytesFor(const QString& editedText) const
{
    // Mixed or unusual line ends survive a save without changes.
    if (editedText == m_text && !m_bytes.empty())
        return m_bytes;
    std::string utf8 = editedText.toStdString();
    if (m_crLf)
        utf8 = withCrLf(utf8);
    return TextCodec::fromUtf8(utf8, m_encoding, TextCodec::Unencodable::CharacterReference);
}
