#include "documents/output_services.h"

#include "platform/win_app.h"

OutputServices* FindOutputServices()
{
    return dynamic_cast<OutputServices*>(AfxGetApp());
}
