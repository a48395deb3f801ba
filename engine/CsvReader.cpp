#include "CsvReader.h"

namespace {

// One pass over the text, field by field.
class Scanner
{
public:
    explicit Scanner(std::string_view text) : m_text(text) {}

    std::vector<CsvReader::Record> records(std::optional<CsvReader::Error>& error)
    {
        std::vector<CsvReader::Record> records;
        while (m_at < m_text.size()) {
            CsvReader::Record record;
            record.Line = m_line;
            if (!readRecord(record.Fields, error))
                return {};
            records.push_back(std::move(record));
        }
        return records;
    }

private:
    bool atLineBreak() const
    {
        return m_text[m_at] == '\n' ||
               (m_text[m_at] == '\r' && m_at + 1 < m_text.size() && m_text[m_at + 1] == '\n');
    }

    void skipLineBreak()
    {
        m_at += m_text[m_at] == '\r' ? 2 : 1;
        ++m_line;
    }

    bool readRecord(std::vector<std::string>& fields, std::optional<CsvReader::Error>& error)
    {
        for (;;) {
            std::string field;
            if (m_at < m_text.size() && m_text[m_at] == '"') {
                if (!readQuoted(field, error))
                    return false;
            } else if (!readPlain(field, error)) {
                return false;
            }
            fields.push_back(std::move(field));
            if (m_at >= m_text.size())
                return true;
            if (atLineBreak()) {
                skipLineBreak();
                return true;
            }
            ++m_at; // the comma
        }
    }

    bool readPlain(std::string& field, std::optional<CsvReader::Error>& error)
    {
        while (m_at < m_text.size() && m_text[m_at] != ',' && !atLineBreak()) {
            if (m_text[m_at] == '"')
                return fail(error, m_line, "Anführungszeichen mitten im Feld");
            field += m_text[m_at++];
        }
        return true;
    }

    bool readQuoted(std::string& field, std::optional<CsvReader::Error>& error)
    {
        const std::size_t startLine = m_line;
        ++m_at;
        for (;;) {
            if (m_at >= m_text.size())
                return fail(error, startLine, "Anführungszeichen nicht geschlossen");
            const char c = m_text[m_at++];
            if (c == '"') {
                if (m_at < m_text.size() && m_text[m_at] == '"') {
                    field += '"';
                    ++m_at;
                    continue;
                }
                break;
            }
            if (c == '\n')
                ++m_line;
            field += c;
        }
        if (m_at < m_text.size() && m_text[m_at] != ',' && !atLineBreak())
            return fail(error, m_line, "Zeichen nach dem schließenden Anführungszeichen");
        return true;
    }

    static bool fail(std::optional<CsvReader::Error>& error, std::size_t line, const char* reason)
    {
        error = CsvReader::Error{line, reason};
        return false;
    }

    std::string_view m_text;
    std::size_t m_at = 0;
    std::size_t m_line = 1;
};

} // namespace

std::vector<CsvReader::Record> CsvReader::parse(std::string_view text, std::optional<Error>& error)
{
    error.reset();
    return Scanner(text).records(error);
}
