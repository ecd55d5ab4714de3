#pragma once
// Translating the forms: every text of a widget tree through the translation lookup.

class QObject;

namespace pm {

class Translator;

// Translates the texts of `root` and of everything it owns, breadth first, each object's
// children from the last to the first: captions, hints, menu entries, combo box items, grid
// and list headers, file dialog filters, text edits.
void TranslateComponents(QObject* root, Translator& tr);

} // namespace pm
