#include "utils/string_table.h"

#include <algorithm>
#include <cerrno>
#include <iterator>
#include <string_view>

namespace utils {

namespace {

struct StringEntry {
    unsigned int id;
    std::string_view text;
};

// Sorted by id. Every text that the program addresses by number lives here.
constexpr StringEntry kStringTable[] = {
    // Documentation system: errors and progress.
    {2, "Cannot execute program:\n{}"},
    {3, "Running LaTeX..."},
    {5, "Documentation system error:\n{}"},
    {6, "Connection aborted: {}"},
    {7, "Error occured during executing LaTeX"},
    {8, "Sending files"},
    {9, "Waiting for reply..."},
    {10, "Finished"},
    // Document template: window title, document name, new-file base name, filter name, filter
    // extension, file type, file type description.
    {128, "Quillwright\n\nQuillw\n\n\nQuillwright.Document\nQuillw Document"},
    {133, "Invalid response from the server.\nPerhaps you are connecting to wrong server or service."},
    {134, "Latex batchfile doesn't exist"},
    {135, "Connecting..."},
    {136, "Generating LaTeX source..."},
    {137, "Receiving files"},
    // Text editor: find, undo and redo menu texts, undo descriptions.
    {8606, "Cannot find string\"%s\""},
    {8615, "&Undo %s\tCtrl+Z"},
    {8616, "&Redo %s\tCtrl+Y"},
    {8617, "&Undo\tCtrl+Z"},
    {8618, "&Redo\tCtrl+Y"},
    {8619, "Unknown"},
    {8620, "Paste"},
    {8621, "Delete Selection"},
    {8622, "Cut"},
    {8623, "Delete"},
    {8624, "Typing"},
    {8625, "Backspace"},
    {8626, "Indent"},
    {8627, "Drag And Drop"},
    {8628, "Replace"},
    {8629, "Auto Indent"},
    {8630, "Replace All"},
    {8631, "The regular expression \"{}\" is not valid:\n{} (at offset {})."},
    // Socket error texts; the id is the error code.
    {10004, "Interrupted function call"},
    {10013, "Permission denied"},
    {10014, "Bad address"},
    {10022, "Invalid argument"},
    {10024, "Too many open files"},
    {10035, "Resource temporarily unavailable"},
    {10036, "Operation now in progress"},
    {10037, "Operation already in progress"},
    {10038, "Socket operation on non-socket"},
    {10039, "Destination address required"},
    {10040, "Message too long"},
    {10041, "Protocol wrong type for socket"},
    {10042, "Bad protocol option"},
    {10043, "Protocol not supported"},
    {10044, "Socket type not supported"},
    {10045, "Operation not supported"},
    {10046, "Protocol family not supported"},
    {10047, "Too many processes"},
    {10048, "Address already in use"},
    {10049, "Cannot assign requested address"},
    {10050, "Network is down"},
    {10051, "Network is unreachable"},
    {10052, "Network dropped connection on reset"},
    {10053, "Software caused connection abort"},
    {10054, "Connection reset by peer"},
    {10055, "No buffer space available"},
    {10056, "Socket is already connected"},
    {10057, "Socket is not connected"},
    {10058, "Cannot send after socket shutdown"},
    {10060, "Connection timed out"},
    {10061, "Connection refused"},
    {10064, "Host is down"},
    {10065, "No route to host"},
    {10067, "Too many processes"},
    {10091, "Network subsystem is unavailable"},
    {10092, "WINSOCK.DLL version out of range"},
    {10093, "Successful WSAStartup not yet performed"},
    {10101, "Graceful shutdown in progress"},
    // A server host name that does not resolve.
    {11001, "Host not found"},
    // Socket layer failures.
    {20000, "Failed to send data: {}"},
    {20001, "Failed to receive data: {}"},
    {20002, "Failed to create socket: {}"},
    {20005, "Failed to connect to remote host: {}"},
    // Width prototype of the caret position pane.
    {37903, "============"},
    // Application title and idle message.
    {57344, "Quillwright"},
    {57345, "Ready"},
    // Settings dialog: associated viewer found or not.
    {61216, "Default application for extension '{}' was found:\n{}"},
    {61217, "Default application for extension '{}' was not found"},
    // Width prototype of the progress pane: 54 blanks.
    {61221, "                                                      "},
};

constexpr bool IsSortedById()
{
    return std::is_sorted(std::begin(kStringTable), std::end(kStringTable),
                          [](const StringEntry& a, const StringEntry& b) { return a.id < b.id; });
}
static_assert(IsSortedById(), "the string table must stay sorted by id");

}  // namespace

std::string LoadResourceString(unsigned int id)
{
    const int savedErrno = errno;
    const auto* entry = std::lower_bound(std::begin(kStringTable), std::end(kStringTable), id,
                                         [](const StringEntry& candidate, unsigned int wanted) {
                                             return candidate.id < wanted;
                                         });
    std::string text;
    if (entry != std::end(kStringTable) && entry->id == id)
        text = entry->text;
    errno = savedErrno;
    return text;
}

}  // namespace utils
