#include "CsvWriter.h"

#include <utility>

CsvWriter::CsvWriter(Audience audience)
{
    if (audience == Audience::People)
        m_text = ByteOrderMark;
}

void CsvWriter::addRecord(std::initializer_list<std::string_view> fields)
{
    addRecord(std::span<const std::string_view>(fields.begin(), fields.size()));
}

void CsvWriter::addRecord(std::span<const std::string_view> fields)
{
    bool first = true;
    for (const std::string_view field : fields) {
        if (!std::exchange(first, false))
            m_text += ',';
        appendField(field);
    }
    m_text += "\r\n";
}

void CsvWriter::appendField(std::string_view field)
{
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        m_text += field;
        return;
    }
    m_text += '"';
    for (const char c : field) {
        if (c == '"')
            m_text += '"';
        m_text += c;
    }
    m_text += '"';
}
