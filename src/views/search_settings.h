#pragma once

#include <string>

enum class SearchSettingsSection { Find, Replace };

// The options of the Find and Replace dialogs as the application's profile remembers them, in the
// sections "QuillEdit\Find" and "QuillEdit\Replace" (only the latter keeps a replace text).
struct SearchSettings {
    std::string findText;
    std::string replaceText;
    int matchCase = 0;
    int wholeWord = 0;
    int regularExpression = 0;

    // The defaults when there is no application to ask.
    static SearchSettings Read(SearchSettingsSection section);
    void Write(SearchSettingsSection section) const;
};
