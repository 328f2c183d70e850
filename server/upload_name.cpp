#include "upload_name.h"

namespace torvel {

std::string CheckUploadName(const std::string& name)
{
    if (name.empty())
        return "empty file name";
    if (name.size() > 255)
        return "file name longer than 255 bytes";
    for (const char character : name) {
        if (character == '/' || character == '\\')
            return "file name \"" + name + "\" contains a directory separator";
        if (static_cast<unsigned char>(character) < 0x20 || character == 0x7f)
            return "file name contains a control character";
    }
    if (name.find("..") != std::string::npos)
        return "file name \"" + name + "\" contains \"..\"";
    if (name.front() == '-')
        return "file name \"" + name + "\" begins with \"-\"";
    // latex2html and latexmk run these files from their working directory as Perl.
    for (const char* code : {".latex2html-init", ".latexmkrc", "latexmkrc"}) {
        if (name == code)
            return "file name \"" + name + "\" is not accepted";
    }
    return {};
}

}  // namespace torvel
