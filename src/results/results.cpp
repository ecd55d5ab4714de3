#include "results/results.h"

#include "drawing/numfmt.h"
#include "model/atomicfile.h"
#include "model/text.h"
#include "translate/translations.h"

#include <cstdio>
#include <fstream>

namespace pm {

int resultTypeMessage(int typ) {
    switch (typ) {
    case typRechteck:
        return 21;
    case typEllipse:
        return 22;
    case typAbstand:
        return 18;
    case typPolygon:
        return 19;
    case typStrecke:
        return 20;
    default:
        return 0;
    }
}

std::u16string resultCell(const Telemente& e, int column, const std::u16string& typText) {
    switch (column) {
    case colTyp:
        return typText;
    case colBezeichnung:
        return std::u16string(labelOf(e));
    case colLaenge:
        return formatFixed16(e.lang, 4);
    case colFlaeche:
        return e.typ == typAbstand ? std::u16string() : formatFixed16(e.flaeche, 4);
    case colWinkel:
        return e.typ == typAbstand ? formatFixed16(e.winkel, 4) : std::u16string();
    default:
        return {};
    }
}

void ResultRows::refill(const ElementList& list) {
    index_.clear();
    for (int i = 0; i < list.count(); ++i)
        if (resultTypeMessage(list.at(i).typ) != 0)
            index_.push_back(i);
}

std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string out = "\"";
    for (char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + "\"";
}

std::string resultsCsv(const ElementList& list, Translator& tr, const std::u16string& unit) {
    std::string out;
    const char16_t* header[] = {u"Typ",           u"Bezeichnung", u"Länge/Umfang",
                                u"Flächeninhalt", u"Winkel",      u"Einheit"};
    std::string line;
    for (const char16_t* h : header) {
        if (!line.empty())
            line += ',';
        line += csvField(toUtf8(tr.TranslateText(h)));
    }
    out += line + "\r\n";
    ResultRows rows;
    rows.refill(list);
    for (int r = 0; r < rows.count(); ++r) {
        const Telemente& e = list.at(rows.elementIndex(r));
        const std::u16string typ = tr.GetMessageText(resultTypeMessage(e.typ));
        line.clear();
        for (int c = 0; c < kResultColumns; ++c) {
            if (c)
                line += ',';
            line += csvField(toUtf8(resultCell(e, c, typ)));
        }
        out += line + ',' + csvField(toUtf8(unit)) + "\r\n";
    }
    return out;
}

bool writeResultsCsv(const std::string& fileName, const ElementList& list, Translator& tr,
                     const std::u16string& unit) {
    return writeFileAtomically(fileName, resultsCsv(list, tr, unit));
}

} // namespace pm
