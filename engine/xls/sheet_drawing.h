#pragma once

#include "engine/model/sheet_extras.h"
#include "engine/xls/record_writer.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <vector>

// A BIFF8 sheet's drawing: the boxes of its cell comments and the drop-down arrows of its autofilter,
// the objects the engine keeps. Each object is a shape in the drawing's MSODRAWING records, whose anchor
// places it, followed by its OBJ. A comment is a text box: its OBJ is of the comment kind, a TXO holds
// the text and its font runs in CONTINUE records, and, after the whole drawing, a NOTE ties the object
// to its cell and names the author. An arrow is a combo box on its column's header cell. The
// workbook's MSODRAWINGGROUP counts the sheets' drawings and shapes.
namespace engine::xls {

// Gathers a sheet's comments while its records are read, in the order they come.
class CommentReader {
public:
    // MSODRAWING: the anchor of the shape it describes, for the object that follows.
    void drawing(std::span<const uint8_t> body);
    // OBJ: false for an object that is no comment (a picture, a chart, a control, a text box).
    bool object(std::span<const uint8_t> body);
    // TXO with its CONTINUE records: the text of the comment object before it, if that was one.
    void textBox(const std::vector<std::span<const uint8_t>>& segments);
    // NOTE: false when it names no comment object read before it.
    bool note(std::span<const uint8_t> body);
    // The comments, their runs' fonts (file indexes) turned into the model's by `font`.
    std::vector<Comment> comments(const std::function<Font(uint16_t)>& font) const;

private:
    struct Text {
        std::u16string text;
        std::vector<std::pair<uint16_t, uint16_t>> runs; // first character, file font index
        std::optional<CommentBox> box;
    };
    std::optional<CommentBox> anchor_;
    std::optional<uint16_t> object_; // the comment object whose text comes next
    std::map<uint16_t, Text> objects_;
    std::vector<std::pair<Comment, uint16_t>> notes_; // with the object holding their text
};

// What a sheet's drawing takes of the workbook's shape identifiers: its drawing number, and the
// identifiers from `firstShape` (the drawing's group) on, one an object.
struct DrawingShapes {
    uint32_t drawing = 0;
    uint32_t firstShape = 0;
    uint32_t shapes = 0;
};

// The objects of a sheet's drawing: its filter's arrows, one a column of the filter's range, and its
// comments.
struct SheetDrawing {
    const AutoFilter* filter = nullptr;
    const std::vector<Comment>* comments = nullptr;
    size_t objects() const;
};

// The identifiers of the next sheet's drawing, given the drawings before it and its objects.
DrawingShapes nextDrawing(const std::vector<DrawingShapes>& before, const SheetDrawing& drawing);
// A sheet's drawing: the drawing records, the filter's arrows with their OBJ, each comment's OBJ and
// TXO, then the NOTE records. Nothing for a drawing without objects. `font` gives a run's file font
// index.
void putDrawing(RecordWriter& w, const SheetDrawing& drawing, const DrawingShapes& shapes,
                const std::function<uint16_t(const Font&)>& font);
// MSODRAWINGGROUP, for a workbook whose sheets have drawings.
void putDrawingGroup(RecordWriter& w, const std::vector<DrawingShapes>& drawings);

} // namespace engine::xls
