#include "runtime/core/files.h"

#include "runtime/core/utf8.h"

#include <array>

namespace rt {

std::optional<std::string> MemoryFileStore::read(const std::string& name, std::size_t maxBytes)
{
    const auto it = files.find(name);
    if (it == files.end())
        return std::nullopt;
    return it->second.substr(0, maxBytes);
}

bool MemoryFileStore::replace(const std::string& name, std::string_view bytes)
{
    files[name] = std::string(bytes);
    return true;
}

bool MemoryFileStore::copy(const std::string& name, const std::string& copyName)
{
    const auto it = files.find(name);
    if (it == files.end())
        return false;
    files[copyName] = it->second;
    return true;
}

namespace {

// Bytes a text file never holds: NUL and the control characters other than tab, CR and LF.
bool isControl(unsigned char c)
{
    return (c < 0x20 && c != '\t' && c != '\r' && c != '\n') || c == 0x7F;
}

// Where the text of `bytes` ends: at the first byte no text file holds.
std::size_t textLength(std::string_view bytes)
{
    for (std::size_t i = 0; i < bytes.size(); ++i)
        if (isControl(static_cast<unsigned char>(bytes[i])))
            return i;
    return bytes.size();
}

// Windows-1252 bytes 0x80..0x9F; the rest of the upper half is Latin-1.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

void appendWindows1252(std::string& out, std::string_view bytes, bool* undecodable)
{
    for (const unsigned char c : bytes) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0xA0) {
            const char16_t code = kCp1252High[c - 0x80];
            if (code == 0xFFFD && undecodable)
                *undecodable = true;
            appendUtf8(out, code);
        } else {
            appendUtf8(out, c);
        }
    }
}

} // namespace

// Line by line, so that one damaged line, or a tail of garbage, does not turn the UTF-8 names
// of the lines before it into Windows-1252.
std::string decodeText(std::string_view bytes, bool* undecodable)
{
    std::string out;
    out.reserve(bytes.size());
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t lineEnd = bytes.find_first_of("\r\n", start);
        const std::size_t end = lineEnd == std::string_view::npos ? bytes.size() : lineEnd + 1;
        const std::string_view line = bytes.substr(start, end - start);
        if (validUtf8(line))
            out += line;
        else
            appendWindows1252(out, line, undecodable);
        start = end;
    }
    return out;
}

std::string quotableField(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"')
            out += '\'';
        else if (u >= 0x20 && u != 0x7F)
            out += c;
    }
    return out;
}

std::string_view utf8Prefix(std::string_view text, std::size_t maxBytes)
{
    if (text.size() <= maxBytes)
        return text;
    std::size_t end = maxBytes;
    // Back up over continuation bytes to the start of the character that does not fit.
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    return text.substr(0, end);
}

InputFile::InputFile(FileStore& store, const std::string& name)
{
    // One byte past the limit tells a file that goes on.
    std::optional<std::string> bytes = store.read(name, kMaxBytes + 1);
    if (!bytes)
        return;
    m_opened = true;
    if (bytes->size() > kMaxBytes) {
        bytes->resize(kMaxBytes);
        m_cutShort = true;
    }
    const std::size_t length = textLength(*bytes);
    if (length < bytes->size())
        m_cutShort = true;
    m_damaged = m_cutShort;
    m_text = decodeText(std::string_view(*bytes).substr(0, length), &m_damaged);
}

std::optional<std::string> InputFile::readField()
{
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    const auto isLineEnd = [](char c) { return c == '\r' || c == '\n'; };
    // Leading blanks and line ends before a field are skipped.
    while (m_pos < m_text.size() && (isBlank(m_text[m_pos]) || isLineEnd(m_text[m_pos])))
        ++m_pos;
    if (m_pos >= m_text.size())
        return std::nullopt;

    std::string field;
    if (m_text[m_pos] == '"') {
        const std::size_t close = m_text.find('"', m_pos + 1);
        // At the real end of the file an open quote ends the field; where the text was cut
        // off, the rest of the field is missing.
        if (close == std::string::npos && m_cutShort) {
            m_pos = m_text.size();
            return std::nullopt;
        }
        const std::size_t end = close == std::string::npos ? m_text.size() : close;
        field = m_text.substr(m_pos + 1, end - m_pos - 1);
        m_pos = close == std::string::npos ? m_text.size() : close + 1;
        // Whatever stands between the closing quote and the separator belongs to no field.
        while (m_pos < m_text.size() && m_text[m_pos] != ',' && !isLineEnd(m_text[m_pos]))
            ++m_pos;
    } else {
        const std::size_t start = m_pos;
        while (m_pos < m_text.size() && m_text[m_pos] != ',' && !isLineEnd(m_text[m_pos]))
            ++m_pos;
        // An unquoted field is whole only when its separator was read.
        if (m_pos == m_text.size() && m_cutShort)
            return std::nullopt;
        field = m_text.substr(start, m_pos - start);
        while (!field.empty() && isBlank(field.back()))
            field.pop_back();
    }
    // One separator ends the field: a comma, or a line end (CR LF counts as one).
    if (m_pos < m_text.size()) {
        const bool carriageReturn = m_text[m_pos] == '\r';
        ++m_pos;
        if (carriageReturn && m_pos < m_text.size() && m_text[m_pos] == '\n')
            ++m_pos;
    }
    return field;
}

OutputFile::OutputFile(FileStore& store, std::string name)
    : m_store(&store), m_name(std::move(name))
{
}

void OutputFile::writeField(std::string_view text)
{
    m_bytes += '"';
    m_bytes += quotableField(text);
    m_bytes += "\"\r\n";
}

bool OutputFile::close() { return m_store->replace(m_name, m_bytes); }

} // namespace rt
