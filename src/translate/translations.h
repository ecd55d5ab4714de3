#pragma once
// The translation table: rows of 30 texts (column 0 German, column k language k), the key
// index of 256 buckets, the lookup, the message table and the file translate.dat.

#include "model/dynaarray.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace pm {

class MessageService;

class Translator {
public:
    static constexpr int kColumns = 30;
    static constexpr int kMessages = 27;

    // Rows grow in steps of `rowStep` (a large step, so that loading a big table allocates
    // once; tests and the fuzzer take a small one).
    explicit Translator(MessageService* messages = nullptr, std::uint32_t rowStep = 100000);
    ~Translator();
    Translator(const Translator&) = delete;
    Translator& operator=(const Translator&) = delete;

    // Reads the file (missing: empty table) and builds the sorted key index.
    void InitTranslations(const std::string& fileName);
    // The same from bytes held in memory; the table then has no file to be saved to.
    void InitTranslationsFromBytes(const unsigned char* data, std::size_t size);
    std::u16string TranslateText(std::u16string_view text);
    // Message n (1..27) in the current language; empty outside 1..27.
    std::u16string GetMessageText(int n);
    static std::u16string_view germanMessage(int n);
    void RegisterMessages();
    // Rewrites the file through a temporary file; a failure leaves the old file and is silent.
    // Returns whether the file was written.
    bool SaveTranslations();

    int language() const { return language_; }
    void setLanguage(int index) { language_ = index >= 0 && index < kColumns ? index : 0; }

    int rowCount() const { return int(rows_.count()); }
    std::u16string_view cell(int row, int column) const;
    // The editor's changes. A changed German text keeps the key it is found under until the
    // table is read again.
    void setCell(int row, int column, std::u16string_view text);
    // Removes a row; the key index forgets it and later rows move up by one.
    void deleteRow(int row);
    const std::string& fileName() const { return fileName_; }

private:
    struct Entry {
        char16_t* key;
        std::int32_t row;
    };
    using Row = char16_t* [kColumns];

    void LoadTranslations();
    void parseTable(const unsigned char* data, std::size_t size);
    void buildIndex();
    void clearAll();
    Row& rowAt(int row) const;
    Entry& entryAt(int bucket, int i) const;
    Row* addRow();
    void addEntry(std::u16string_view key, int row);
    void SortBucket(int bucket, int lo, int hi);

    MessageService* messages_;
    std::string fileName_;
    int language_ = 0;
    Cursor<Row> arow_;
    Cursor<Entry> aentry_;
    TDynaArray rows_;
    TDynaArray* buckets_[256] = {};
};

} // namespace pm
