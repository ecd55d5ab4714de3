#pragma once
// The results list as rows over the element list, and the CSV export of the same rows.

#include "model/elemente.h"

#include <string>
#include <vector>

namespace pm {

class Translator;

enum ResultColumn { colTyp, colBezeichnung, colLaenge, colFlaeche, colWinkel, kResultColumns };

// The message number of the kind's name, or 0 for kinds without a row (88, 101, others).
int resultTypeMessage(int typ);
// The text of one cell; `typText` is the translated kind name.
std::u16string resultCell(const Telemente& e, int column, const std::u16string& typText);

// Which elements have rows, in list order. Refilled at the end of every repaint.
class ResultRows {
public:
    void refill(const ElementList& list);
    int count() const { return int(index_.size()); }
    int elementIndex(int row) const { return index_[std::size_t(row)]; }

private:
    std::vector<int> index_;
};

// Writes a header line and one line per listed element: type, label, length/perimeter, area,
// angle, unit; comma-separated, RFC 4180 quoting, UTF-8, CR LF. Through a temporary file and a
// rename: a failure leaves any earlier file as it was. False when the file could not be written.
bool writeResultsCsv(const std::string& fileName, const ElementList& list, Translator& tr,
                     const std::u16string& unit);
std::string resultsCsv(const ElementList& list, Translator& tr, const std::u16string& unit);

// RFC 4180 field quoting.
std::string csvField(const std::string& text);

} // namespace pm
