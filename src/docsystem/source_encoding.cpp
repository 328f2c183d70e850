#include "docsystem/source_encoding.h"

TextEncoding DetectedEncoding(std::string_view text)
{
    utf8::EncodingDetector detector;
    detector.Count(text);
    return detector.Decision();
}
