#include "translate/translations.h"

#include "model/atomicfile.h"
#include "model/services.h"
#include "model/text.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <utility>
#include <vector>

namespace pm {

namespace {

const char16_t* const kMessageTexts[Translator::kMessages + 1] = {
    u"",
    u"Bitte schließen Sie das Programm und starten Sie es erneut.",
    u"Übersetzen",
    u"Pixel",
    u"",
    u"Konnte das Bild nicht laden.",
    u"Neigung",
    u"Beschriftung",
    u"Wollen Sie wirklich neu anfangen?",
    u"Neu",
    u"",
    u"",
    u"M",
    u"Ausdruck Picmetra",
    u"Konnte Datei nicht erzeugen.",
    u"Konnte Datei nicht öffnen.",
    u"",
    u"Konnte diese Datei nicht erstellen:",
    u"Abstand",
    u"Polygon",
    u"Strecke",
    u"Rechteck",
    u"Ellipse",
    u"",
    u"",
    u"Wollen Sie die Zeile wirklich löschen?",
    u"Weiter suchen?",
    u"Suchen",
};

char16_t* copyText(std::u16string_view s) {
    auto* buf = new char16_t[s.size() + 1];
    std::memcpy(buf, s.data(), s.size() * sizeof(char16_t));
    buf[s.size()] = 0;
    return buf;
}

std::u16string_view view(const char16_t* p) {
    return p ? std::u16string_view(p) : std::u16string_view();
}

} // namespace

Translator::Translator(MessageService* messages, std::uint32_t rowStep)
    : messages_(messages), rows_(sizeof(Row), &arow_, messages) {
    rows_.setBuffersize(rowStep);
}

Translator::~Translator() {
    clearAll();
}

void Translator::clearAll() {
    for (std::uint32_t r = 0; r < rows_.count(); ++r)
        for (char16_t* t : rowAt(int(r)))
            delete[] t;
    rows_.Clear();
    for (TDynaArray*& b : buckets_) {
        if (!b)
            continue;
        for (std::uint32_t i = 0; i < b->count(); ++i)
            delete[] entryAt(int(&b - buckets_), int(i)).key;
        delete b;
        b = nullptr;
    }
}

Translator::Row& Translator::rowAt(int row) const {
    return *reinterpret_cast<Row*>(const_cast<unsigned char*>(rows_.data()) +
                                   std::size_t(row) * sizeof(Row));
}

Translator::Entry& Translator::entryAt(int bucket, int i) const {
    return *reinterpret_cast<Entry*>(const_cast<unsigned char*>(buckets_[bucket]->data()) +
                                     std::size_t(i) * sizeof(Entry));
}

std::u16string_view Translator::cell(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0 || column >= kColumns)
        return {};
    return view(rowAt(row)[column]);
}

void Translator::setCell(int row, int column, std::u16string_view text) {
    if (row < 0 || row >= rowCount() || column < 0 || column >= kColumns)
        return;
    char16_t*& t = rowAt(row)[column];
    delete[] t;
    t = text.empty() ? nullptr : copyText(text);
}

void Translator::deleteRow(int row) {
    if (row < 0 || row >= rowCount())
        return;
    Row gone;
    std::memcpy(gone, rowAt(row), sizeof(Row));
    const std::uint32_t before = rows_.count();
    rows_.Delete(row);
    if (rows_.count() == before)
        return; // out of memory: the row stays
    for (char16_t* t : gone)
        delete[] t;
    for (int b = 0; b < 256; ++b) {
        if (!buckets_[b])
            continue;
        for (int i = int(buckets_[b]->count()) - 1; i >= 0; --i) {
            Entry& e = entryAt(b, i);
            if (e.row == row) {
                delete[] e.key;
                buckets_[b]->Delete(i);
            } else if (e.row > row) {
                --e.row;
            }
        }
    }
}

Translator::Row* Translator::addRow() {
    return static_cast<Row*>(rows_.Add());
}

void Translator::addEntry(std::u16string_view key, int row) {
    TDynaArray* b = buckets_[key[0] & 0xFF];
    auto* e = static_cast<Entry*>(b->Add());
    if (!e)
        return;
    e->key = copyText(key);
    e->row = row;
}

void Translator::InitTranslations(const std::string& fileName) {
    clearAll();
    fileName_ = fileName;
    LoadTranslations();
    buildIndex();
}

void Translator::InitTranslationsFromBytes(const unsigned char* data, std::size_t size) {
    clearAll();
    fileName_.clear();
    parseTable(data, size);
    buildIndex();
}

void Translator::buildIndex() {
    for (TDynaArray*& b : buckets_)
        b = new TDynaArray(sizeof(Entry), &aentry_, messages_);
    for (int r = 0; r < rowCount(); ++r) {
        const std::u16string_view key = view(rowAt(r)[0]);
        if (!key.empty())
            addEntry(key, r);
    }
    for (int b = 0; b < 256; ++b)
        if (buckets_[b]->count() > 1)
            SortBucket(b, 0, int(buckets_[b]->count()) - 1);
}

void Translator::LoadTranslations() {
    std::ifstream in(fileName_, std::ios::binary);
    if (!in)
        return;
    const std::vector<unsigned char> data((std::istreambuf_iterator<char>(in)),
                                          std::istreambuf_iterator<char>());
    parseTable(data.data(), data.size());
}

void Translator::parseTable(const unsigned char* bytes, std::size_t size) {
    ByteReader rd(bytes, size);
    std::int32_t columns = 0;
    std::int32_t rowsInFile = 0;
    bool corrupt =
        !rd.readInt32(columns) || !rd.readInt32(rowsInFile) || columns < 0 || rowsInFile < 0;
    // Rows without columns would carry nothing; a huge count of them is a forged file.
    if (!corrupt && columns == 0 && rowsInFile > 0)
        corrupt = true;
    for (std::int32_t r = 0; !corrupt && r < rowsInFile; ++r) {
        // Read the whole row first: a row is only kept when it is complete.
        Row texts = {};
        for (std::int32_t c = 0; c < columns; ++c) {
            std::u16string s;
            if (!rd.readWString(s)) {
                corrupt = true;
                break;
            }
            if (c < kColumns && !s.empty())
                texts[c] = copyText(s);
        }
        Row* row = corrupt ? nullptr : addRow();
        if (!row) { // corrupt, or out of memory (already reported)
            for (char16_t* t : texts)
                delete[] t;
            break;
        }
        std::memcpy(*row, texts, sizeof(Row));
    }
    if (corrupt && messages_)
        messages_->show(u"The file translation.dat has been corrupted.", u"", MsgIcon::Error);
}

void Translator::SortBucket(int bucket, int lo, int hi) {
    // Hoare partitioning with the middle pivot; the loop on the larger part keeps the stack
    // shallow whatever order a file holds.
    while (lo < hi) {
        const std::u16string pivot(view(entryAt(bucket, (lo + hi) / 2).key));
        int i = lo, j = hi;
        do {
            while (view(entryAt(bucket, i).key).compare(pivot) < 0)
                ++i;
            while (view(entryAt(bucket, j).key).compare(pivot) > 0)
                --j;
            if (i <= j) {
                std::swap(entryAt(bucket, i), entryAt(bucket, j));
                ++i;
                --j;
            }
        } while (i <= j);
        if (j - lo < hi - i) {
            if (lo < j)
                SortBucket(bucket, lo, j);
            lo = i;
        } else {
            if (i < hi)
                SortBucket(bucket, i, hi);
            hi = j;
        }
    }
}

std::u16string Translator::TranslateText(std::u16string_view text) {
    if (text.empty())
        return std::u16string(text);
    std::size_t i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    if (i == text.size())
        return std::u16string(text);
    std::size_t j = 0;
    while (text[text.size() - 1 - j] == u' ')
        ++j;
    const std::u16string_view s = text.substr(i, text.size() - i - j);
    if (!buckets_[0]) // no table yet
        return std::u16string(text);
    TDynaArray* b = buckets_[s[0] & 0xFF];
    const int bucket = s[0] & 0xFF;
    for (std::uint32_t k = 0; k < b->count(); ++k) {
        const Entry& e = entryAt(bucket, int(k));
        if (view(e.key) != s)
            continue;
        std::u16string_view t = cell(e.row, language_);
        if (t.empty())
            return std::u16string(text);
        while (!t.empty() && t.front() <= u' ')
            t.remove_prefix(1);
        while (!t.empty() && t.back() <= u' ')
            t.remove_suffix(1);
        return std::u16string(i, u' ') + std::u16string(t) + std::u16string(j, u' ');
    }
    if (Row* row = addRow()) {
        (*row)[0] = copyText(s);
        addEntry(s, rowCount() - 1);
        SaveTranslations();
    }
    return std::u16string(text);
}

std::u16string_view Translator::germanMessage(int n) {
    if (n < 1 || n > kMessages)
        return {};
    return kMessageTexts[n];
}

std::u16string Translator::GetMessageText(int n) {
    return TranslateText(germanMessage(n));
}

void Translator::RegisterMessages() {
    for (int n = 1; n <= kMessages; ++n)
        GetMessageText(n);
}

bool Translator::SaveTranslations() {
    if (fileName_.empty())
        return false;
    std::ostringstream out;
    unsigned char head[8];
    putLE32(head, kColumns);
    putLE32(head + 4, rowCount());
    out.write(reinterpret_cast<const char*>(head), 8);
    for (int r = 0; r < rowCount(); ++r)
        for (int c = 0; c < kColumns; ++c)
            WriteWString(out, cell(r, c));
    return writeFileAtomically(fileName_, out.str());
}

} // namespace pm
