#include "platform/message_box.h"

#include "platform/backend.h"
#include "platform/command_ids.h"
#include "platform/framework_strings.h"
#include "platform/message_queue.h"
#include "platform/win_app.h"

int AfxMessageBox(const std::string& text, UINT style, UINT)
{
    platform::MessageBoxRequest request;
    request.text = text;
    request.style = style;
    CWinApp* application = AfxGetApp();
    request.caption = application != nullptr ? application->ApplicationName()
                                              : platform::LoadFrameworkString(AFX_IDS_APP_TITLE);
    int answer = IDCANCEL;
    platform::message_queue::Send([&] { answer = platform::Backend::Current().ShowMessageBox(request); });
    return answer;
}

int AfxMessageBox(UINT stringId, UINT style, UINT helpId)
{
    return AfxMessageBox(platform::LoadFrameworkString(stringId), style, helpId);
}
