#pragma once

#include <string>

// Copies every extended attribute of the file at sourcePath to the open file target; POSIX ACLs are
// stored among them. A file system without extended attributes is not an error, and neither is an
// attribute this process may not set (another namespace's rules, such as trusted.* for an ordinary
// user): a save by rename loses those as it always did. Other failures return false with errno set.
bool CopyExtendedAttributes(const std::string& sourcePath, int target);
