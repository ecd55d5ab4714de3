#pragma once
// The project file (.ver): every element with its vertices and label, the whole picture, the
// drawing colour, line width, arrow length, six options, the zoom and the label font. Binary,
// little-endian, in sequence, without header or version: files are exchanged with other
// installations, so the layout never changes.

#include "drawing/canvas.h"
#include "drawing/dib.h"
#include "model/elemente.h"

#include <array>
#include <string>
#include <vector>

namespace pm {

constexpr int kElementRecordSize = 179;

// The six options in file order.
enum ProjectOption {
    optAnzeigen,
    optErgebnisliste,
    optSchriftUmranden,
    optZeigerNachMessung,
    optBezeichnungAbfragen,
    optPfeillaengeAnpassen,
    kProjectOptions
};

struct ProjectSettings {
    Rgb color = kRed;
    double lineWidth = 2.0;
    double arrowLength = 30.0;
    std::array<bool, kProjectOptions> options{true, true, false, false, true, true};
    double zoom = 100;
    LabelFont font;
};

struct ProjectElement {
    Telemente record{}; // vert and name are not set
    std::vector<Tvert> vertices;
    std::u16string label;
};

// What a project file holds, read completely before anything in the document is replaced.
struct ProjectData {
    ProjectData() = default;
    ~ProjectData();
    ProjectData(const ProjectData&) = delete;
    ProjectData& operator=(const ProjectData&) = delete;
    std::vector<ProjectElement> elements;
    dib picture; // owned until taken
    ProjectSettings settings;
};

// The packed 179-byte record and back (the two pointer places are written as zero).
void packElement(const Telemente& e, unsigned char* out);
void unpackElement(const unsigned char* in, Telemente& e);

// Font size in points and back, as the font dialog converts (rounded multiply-divide).
int fontPoints(int height, int pixelsPerInch);
int fontHeight(int points, int pixelsPerInch);

// The whole file as bytes.
std::string projectBytes(const ElementList& list, const dib& picture, const ProjectSettings& s);

// Writes through a temporary file that is flushed to disk and renamed into place, so a failed
// save leaves any earlier project untouched. False when the file could not be written.
bool saveprojekt(const std::string& fileName, const ElementList& list, const dib& picture,
                 const ProjectSettings& s);

enum class ReadResult { Ok, CannotOpen, Damaged };
// Parses bytes; every count is checked against what is left, so no forged count allocates.
ReadResult parseProject(const unsigned char* data, std::size_t size, ProjectData& out);
ReadResult readProject(const std::string& fileName, ProjectData& out);

// Replaces the elements of the list by those read.
bool takeElements(ProjectData& data, ElementList& list);

} // namespace pm
