#pragma once

#include <string>

// A callback that also wants to know every result file a run stores (the window-less program lists
// them) implements this interface besides DocumentationCallback.
class ResultFileObserver {
public:
    virtual ~ResultFileObserver() = default;

    virtual void ResultFileStored(const std::string& path) = 0;
};

class DocumentationCallback;

// Tells the callback about a stored result file if it is a ResultFileObserver.
void ReportResultFile(DocumentationCallback& callback, const std::string& path);
