#pragma once

class CQuillEditDoc;
class RecoveryStore;

// Offers the recovery copies of editors that no longer run, one after the other: "Recover unsaved
// changes to PATH from TIME?" Yes shows the text in document (the copy goes; the text gets a copy of
// this editor) and ends the offers, as the window holds one document; No deletes the copy once the
// user confirms it; Cancel keeps it for the next start. A damaged copy is reported and set aside.
void OfferRecoveryCopies(RecoveryStore& store, CQuillEditDoc& document);
