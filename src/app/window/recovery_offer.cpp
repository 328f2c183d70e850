#include "app/window/recovery_offer.h"

#include "buffer/document/quill_edit_doc.h"
#include "buffer/document/recovery_store.h"
#include "platform/command_ids.h"
#include "platform/message_box.h"

#include <ctime>
#include <exception>

namespace {

enum class Offer { Continue, Done };

std::string LocalTime(std::int64_t secondsSinceEpoch)
{
    const std::time_t time = static_cast<std::time_t>(secondsSinceEpoch);
    std::tm local{};
    localtime_r(&time, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

std::string DocumentName(const RecoveredText& recovered)
{
    return recovered.header.documentPath.empty() ? std::string("an untitled document") : recovered.header.documentPath;
}

void SetAsideDamaged(RecoveryStore& store, const std::string& copyPath, const std::exception& damage)
{
    std::string message = "The recovery copy " + copyPath + " is damaged (" + damage.what() + ") and cannot be used.";
    try {
        message += "\nIt has been kept as " + store.SetAside(copyPath) + ".";
    } catch (const std::exception& failure) {
        message += std::string("\n") + failure.what();
    }
    AfxMessageBox(message, MB_OK | MB_ICONWARNING);
}

Offer OfferCopy(RecoveryStore& store, const std::string& copyPath, CQuillEditDoc& document)
{
    RecoveredText recovered;
    try {
        recovered = ReadRecoveryCopy(copyPath);
    } catch (const DamagedRecoveryCopy& damage) {
        SetAsideDamaged(store, copyPath, damage);
        return Offer::Continue;
    } catch (const std::exception& failure) {
        AfxMessageBox(failure.what(), MB_OK | MB_ICONERROR);
        return Offer::Continue;
    }
    const std::string name = DocumentName(recovered);
    const int answer = AfxMessageBox("Recover unsaved changes to " + name + " from " +
                                         LocalTime(recovered.header.writtenAt) + "?",
                                     MB_YESNOCANCEL | MB_ICONQUESTION);
    if (answer == IDYES) {
        document.RecoverText(recovered);
        store.Remove(copyPath);
        return Offer::Done;
    }
    if (answer == IDNO &&
        AfxMessageBox("Delete the unsaved changes to " + name + " for good?", MB_YESNO | MB_ICONWARNING) == IDYES)
        store.Remove(copyPath);
    return Offer::Continue;
}

}  // namespace

void OfferRecoveryCopies(RecoveryStore& store, CQuillEditDoc& document)
{
    for (const std::string& copyPath : store.OrphanedCopies()) {
        if (OfferCopy(store, copyPath, document) == Offer::Done)
            return;
    }
}
