#include "source_text_encoding.h"

#include "utils/utf8_characters.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace torvel {
namespace {

std::string FileText(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

bool HoldsUtf8Text(const std::string& text)
{
    if (std::all_of(text.begin(), text.end(), [](char byte) { return (byte & 0x80) == 0; }))
        return false;
    utf8::EncodingDetector detector;
    detector.Count(text);
    return detector.Decision() == TextEncoding::Utf8;
}

}  // namespace

bool SourcesHoldUtf8Text(const std::filesystem::path& work)
{
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(work, error)) {
        if (entry.path().extension() == ".tex" && entry.is_regular_file(error) && HoldsUtf8Text(FileText(entry.path())))
            return true;
    }
    return false;
}

}  // namespace torvel
