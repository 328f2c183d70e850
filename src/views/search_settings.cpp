#include "views/search_settings.h"

#include "platform/win_app.h"

namespace {

const char* SectionName(SearchSettingsSection section)
{
    return section == SearchSettingsSection::Find ? "QuillEdit\\Find" : "QuillEdit\\Replace";
}

int AsCheck(int value)
{
    return value != 0 ? 1 : 0;
}

}  // namespace

SearchSettings SearchSettings::Read(SearchSettingsSection section)
{
    SearchSettings settings;
    CWinApp* application = AfxGetApp();
    if (application == nullptr)
        return settings;
    const char* name = SectionName(section);
    settings.matchCase = AsCheck(application->GetProfileInt(name, "MatchCase", 0));
    settings.wholeWord = AsCheck(application->GetProfileInt(name, "WholeWord", 0));
    settings.regularExpression = AsCheck(application->GetProfileInt(name, "RegularExpression", 0));
    settings.findText = application->GetProfileString(name, "FindWhat", "");
    if (section == SearchSettingsSection::Replace)
        settings.replaceText = application->GetProfileString(name, "ReplaceWith", "");
    return settings;
}

void SearchSettings::Write(SearchSettingsSection section) const
{
    CWinApp* application = AfxGetApp();
    if (application == nullptr)
        return;
    const char* name = SectionName(section);
    application->WriteProfileInt(name, "MatchCase", matchCase);
    application->WriteProfileInt(name, "WholeWord", wholeWord);
    application->WriteProfileInt(name, "RegularExpression", regularExpression);
    application->WriteProfileString(name, "FindWhat", findText);
    if (section == SearchSettingsSection::Replace)
        application->WriteProfileString(name, "ReplaceWith", replaceText);
}
