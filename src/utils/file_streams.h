#pragma once

// File streams that exist only when their file is open: a failure to open throws
// std::runtime_error with the path and the system's text for the error.

#include <fstream>
#include <string>

namespace utils {

// Output file stream; "failed to create file\n" + path + "\n" + error text when it cannot open.
class sofstream : public std::ofstream {
public:
    explicit sofstream(const std::string& path, std::ios_base::openmode mode = std::ios_base::out);
    ~sofstream() override;
};

// Input file stream on a regular file only; "failed to open file\n" + path + "\n" + error text when
// it cannot open, or + "It is a named pipe (FIFO), not a regular file." (see NotRegularFileReason).
class sifstream : public std::ifstream {
public:
    explicit sifstream(const std::string& path, std::ios_base::openmode mode = std::ios_base::in);
    ~sifstream() override;
};

}  // namespace utils
