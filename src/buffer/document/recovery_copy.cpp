#include "buffer/document/recovery_copy.h"

#include "buffer/text_file_writer.h"
#include "utils/file_reading.h"

#include <sys/stat.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <limits>
#include <map>
#include <system_error>

namespace {

constexpr std::string_view kSignature = "Quillwright recovery copy 1";

// FNV-1a over the text: cheap, and any cut or changed byte shows.
class Checksum {
public:
    void Add(std::string_view bytes)
    {
        for (const char byte : bytes) {
            value_ ^= static_cast<unsigned char>(byte);
            value_ *= 1099511628211ull;
        }
    }
    std::uint64_t Value() const { return value_; }

private:
    std::uint64_t value_ = 14695981039346656037ull;
};

std::string_view LineEndName(LineEndingStyle style)
{
    switch (style) {
    case LineEndingStyle::CrLf:
        return "crlf";
    case LineEndingStyle::LfCr:
        return "lfcr";
    case LineEndingStyle::Lf:
    case LineEndingStyle::Automatic:
        break;
    }
    return "lf";
}

LineEndingStyle LineEndOfName(std::string_view name)
{
    if (name == "crlf")
        return LineEndingStyle::CrLf;
    if (name == "lfcr")
        return LineEndingStyle::LfCr;
    if (name == "lf")
        return LineEndingStyle::Lf;
    throw DamagedRecoveryCopy("unknown line end \"" + std::string(name) + "\"");
}

// The path may hold any byte; the header is one line of fields separated by ";".
std::string EscapedPath(std::string_view path)
{
    std::string escaped;
    for (const char byte : path) {
        if (byte == '%' || byte == ';' || byte == '\n' || byte == '\r') {
            char code[4];
            std::snprintf(code, sizeof code, "%%%02X", static_cast<unsigned char>(byte));
            escaped += code;
        } else {
            escaped += byte;
        }
    }
    return escaped;
}

std::string UnescapedPath(std::string_view escaped)
{
    std::string path;
    for (std::size_t index = 0; index < escaped.size(); ++index) {
        if (escaped[index] != '%') {
            path += escaped[index];
            continue;
        }
        unsigned code = 0;
        const char* start = escaped.data() + index + 1;
        if (index + 3 > escaped.size() || std::from_chars(start, start + 2, code, 16).ptr != start + 2)
            throw DamagedRecoveryCopy("a broken escape in the document's path");
        path += static_cast<char>(code);
        index += 2;
    }
    return path;
}

struct TextFacts {
    std::uint64_t length = 0;
    std::uint64_t checksum = 0;
};

TextFacts FactsOf(const LineTable& snapshot, std::string_view lineEnd)
{
    TextFacts facts;
    Checksum checksum;
    for (std::int32_t line = 1; line < snapshot.Count(); ++line) {
        if (line > 1) {
            checksum.Add(lineEnd);
            facts.length += lineEnd.size();
        }
        checksum.Add(snapshot[line].Text());
        facts.length += snapshot[line].Text().size();
    }
    facts.checksum = checksum.Value();
    return facts;
}

std::string HeaderLine(const RecoveryCopyHeader& header, const TextFacts& facts)
{
    char checksum[17];
    std::snprintf(checksum, sizeof checksum, "%016llx", static_cast<unsigned long long>(facts.checksum));
    std::string line(kSignature);
    line.append(";lineend=").append(LineEndName(header.lineEnding));
    line.append(";encoding=").append(header.encoding == TextEncoding::Utf8 ? "utf-8" : "legacy");
    line.append(";time=").append(std::to_string(header.writtenAt));
    line.append(";length=").append(std::to_string(facts.length));
    line.append(";checksum=").append(checksum);
    line.append(";path=").append(EscapedPath(header.documentPath));
    return line;
}

std::map<std::string, std::string, std::less<>> HeaderFields(std::string_view line)
{
    if (!line.starts_with(kSignature))
        throw DamagedRecoveryCopy("it does not start as a recovery copy does");
    std::map<std::string, std::string, std::less<>> fields;
    line.remove_prefix(kSignature.size());
    while (!line.empty()) {
        line.remove_prefix(1);  // the ";"
        const std::size_t end = std::min(line.find(';'), line.size());
        const std::string_view field = line.substr(0, end);
        const std::size_t equals = field.find('=');
        if (equals == std::string_view::npos)
            throw DamagedRecoveryCopy("a header field without a value");
        fields.emplace(field.substr(0, equals), field.substr(equals + 1));
        line.remove_prefix(end);
    }
    return fields;
}

const std::string& Field(const std::map<std::string, std::string, std::less<>>& fields, std::string_view name)
{
    const auto found = fields.find(name);
    if (found == fields.end())
        throw DamagedRecoveryCopy("the header lacks \"" + std::string(name) + "\"");
    return found->second;
}

template <typename Number>
Number NumberField(const std::map<std::string, std::string, std::less<>>& fields, std::string_view name, int base = 10)
{
    const std::string& text = Field(fields, name);
    Number number{};
    const auto result = std::from_chars(text.data(), text.data() + text.size(), number, base);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size())
        throw DamagedRecoveryCopy("the header's \"" + std::string(name) + "\" is no number");
    return number;
}

}  // namespace

std::unique_ptr<LineTable> NewRecoverySnapshot()
{
    auto snapshot = std::make_unique<LineTable>();
    snapshot->AppendLine({});
    return snapshot;
}

bool WriteRecoveryCopy(const std::string& copyPath, const RecoveryCopyHeader& header, LineTable& snapshot)
{
    struct stat existing {};
    if (::lstat(copyPath.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode)) {
        errno = ELOOP;
        return false;
    }
    const std::string_view lineEnd = LineEndText(header.lineEnding);
    const std::string line = HeaderLine(header, FactsOf(snapshot, lineEnd));
    snapshot.TruncateLine(0, 0);
    snapshot.AppendChars(0, line);
    return WriteTextFile(copyPath, snapshot, lineEnd).written;
}

RecoveredText ReadRecoveryCopy(const std::string& copyPath)
{
    const auto content = utils::ReadWholeFile(copyPath, utils::FileMode::Binary, std::numeric_limits<std::int64_t>::max());
    if (!content)
        throw std::system_error(errno, std::generic_category(), "cannot read the recovery copy " + copyPath);
    const std::string_view bytes(*content);
    const std::size_t firstFeed = bytes.find('\n');
    if (firstFeed == std::string_view::npos && !bytes.starts_with(kSignature))
        throw DamagedRecoveryCopy("it does not start as a recovery copy does");
    std::string_view headerLine = bytes.substr(0, std::min(firstFeed, bytes.size()));
    if (headerLine.ends_with('\r'))
        headerLine.remove_suffix(1);
    const auto fields = HeaderFields(headerLine);

    RecoveredText recovered;
    recovered.header.lineEnding = LineEndOfName(Field(fields, "lineend"));
    recovered.header.encoding = Field(fields, "encoding") == "legacy" ? TextEncoding::Legacy : TextEncoding::Utf8;
    recovered.header.writtenAt = NumberField<std::int64_t>(fields, "time");
    recovered.header.documentPath = UnescapedPath(Field(fields, "path"));
    const auto length = NumberField<std::uint64_t>(fields, "length");
    const auto checksum = NumberField<std::uint64_t>(fields, "checksum", 16);

    const std::string_view lineEnd = LineEndText(recovered.header.lineEnding);
    std::string_view text = bytes.substr(headerLine.size());
    if (!text.starts_with(lineEnd) && !(length == 0 && text.empty()))
        throw DamagedRecoveryCopy("the header does not end with the copy's line end");
    text.remove_prefix(std::min(lineEnd.size(), text.size()));
    if (text.size() != length)
        throw DamagedRecoveryCopy("it holds " + std::to_string(text.size()) + " bytes of text instead of " +
                                  std::to_string(length));
    Checksum actual;
    actual.Add(text);
    if (actual.Value() != checksum)
        throw DamagedRecoveryCopy("its text does not match its checksum");
    recovered.text = std::string(text);
    return recovered;
}
