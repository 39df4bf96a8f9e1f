#pragma once
// The DXF reader's working state for one read and its entity readers; the
// families live in dxf_reader.cpp (lines, tables, main loop),
// dxf_figure_entities.cpp, dxf_blocks.cpp and dxf_texts.cpp.
#include <cstdio>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "kelto_dorn/app/figure_record.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/text_record.h"
#include "kelto_dorn/files/dxf_reader.h"
#include "kelto_dorn/files/import_placement.h"

namespace dorn::dxf {

// A block of the BLOCKS section: where its figures lie in work table 99 and
// its texts in the reader's own list, both as one range per block.
// An INSERT inside a block definition: placed with its block whenever the
// block is placed, so it may name a block defined later in the file.
struct ChildInsert {
  std::string name;
  InsertTransform transform;  // relative to the parent block's base
};

struct Block {
  Vec2 base;
  std::vector<ChildInsert> children;
  bool placing = false;  // being placed: an insertion of itself places nothing
  int firstFigure = 0, endFigure = 0;
  int firstText = 0, endText = 0;
  bool defined = false;  // its ENDBLK was read: the ranges are final
};

struct Layer {
  std::string name;
  int colour = 0;
  std::int32_t lineBits = 0;
};

// One vertex of a polyline.
struct Vertex {
  Vec2 p;
  double bulge = 0.0;
  bool tangent = false;  // a curve-fit tangent angle was given
  double tangentAngle = 0.0;
};

// Common fields of the entity being read.
struct EntityHead {
  int colour = kImportDefaultColour;
  bool colourGiven = false;
  std::int32_t lineBits = 0;
  int table = 0;     // the drawing table the entity goes to
  bool bad = false;  // a value was not a finite number: the entity is dropped
  bool mirrorX = false;  // extrusion Z negative
};

// A point of a curve through points: with a unit tangent when given.
struct CurvePoint {
  Vec2 p;
  Vec2 t;
  bool tangent = false;
};

// Block numbers outside a block, and inside one that did not fit.
inline constexpr int kNoBlock = -1;
inline constexpr int kSkippedBlock = -2;

// The tables whose overflow is reported once per read.
enum FullTable { kFullLayers, kFullLineTypes, kFullVertices, kFullTexts, kFullBlocks, kFullTableCount };

struct DimensionValues;

class Reader {
 public:
  Reader(std::FILE* file, std::string name, bool quiet);
  DxfReadOutcome Run();

  // Texts of the read: special-character codes translated, CP932.
  std::string TranslateText(std::string_view raw, bool mtext) const;

 private:
  // --- lines and groups (dxf_reader.cpp) ---
  bool ReadLine();                 // false at the end of the file
  std::string_view Value() const;  // the line without leading blanks
  const std::string& Raw() const { return line_; }
  int GroupCode() const;  // the line as a group code; -9999 when it is none
  // A real (a malformed one reads as 0; one that is not finite marks the
  // entity bad) and an integer.
  double Real(EntityHead& head) const;
  int Integer() const;
  // The next code line and the value line of a code; false at the end of
  // the file, which cuts the read.
  bool NextCode(int& code);
  bool NextValue();
  void ReadVersion();

  // --- tables and mapping (dxf_reader.cpp) ---
  void ResetTables();
  std::int32_t MapDxfLineType(std::string_view name) const;
  void MapDxfLayer(std::string_view name, EntityHead& head) const;
  EntityHead NewHead() const;
  // The groups every entity reader knows: 8, 6, 62, 230. True when handled.
  bool CommonGroup(int code, EntityHead& head);
  void ReadLineTypeEntry();
  void ReadLayerEntry();

  // --- placing (dxf_reader.cpp) ---
  PlacementTarget Target(const EntityHead& head) const;
  int EntityColour(const EntityHead& head) const;
  void ResetCurrentFigure();
  // Colour rule and placement of g_curFigure (shifted into a block inside one).
  bool Finish(const EntityHead& head, int colour);
  void PlacePiece(FigureRecord& piece, const EntityHead& head);
  void StoreLine(Vec2 a, Vec2 b, const EntityHead& head, int colour);
  void AddText(const TextRecord& record);

  // --- figure entities (dxf_figure_entities.cpp) ---
  void ReadLineEntity();
  void ReadArc(bool circle);
  void ReadLwPolyline();
  void ReadPolyline();
  void ReadEllipse();
  void ReadSpline();
  void ReadLeader();
  void ReadSolid();
  void NoteVertexFull();
  void EmitPolyline(std::vector<Vertex>& vertices, bool closed, const EntityHead& head);
  void EmitBulgeArc(Vec2 a, Vec2 b, double bulge, const EntityHead& head, int colour);
  void EmitCurvePoints(const std::vector<CurvePoint>& points, const EntityHead& head);

  // --- blocks (dxf_blocks.cpp) ---
  void ReadBlock();
  void EndBlock();
  void CloseBlock();
  void ReadInsert();
  void ReadDimension();
  // Places a copy of a block's figures, texts and inserted blocks; `chain`
  // holds the insertions from the innermost outwards.
  void PlaceBlock(int block, std::vector<InsertTransform>& chain, const EntityHead& head, int& textsMoved);
  void PlaceBlock(int block, const InsertTransform& t, const EntityHead& head, int& textsMoved);
  void AddLinearDimension(const DimensionValues& d, const EntityHead& head);

  // --- texts (dxf_texts.cpp) ---
  void ReadText(bool mtext);

  // --- the read (dxf_reader.cpp) ---
  void Dispatch(int code);
  void NoteCounts();
  void Rollback();
  void Report(std::string_view utf8What);
  void ReportOnce(bool& shown, std::string_view utf8What);

  std::FILE* file_;
  std::string name_;
  bool quiet_;
  // Line reading over a buffer of the file.
  std::vector<char> buffer_;
  std::size_t pos_ = 0, size_ = 0;
  bool eof_ = false;
  bool pendingLf_ = false;   // a CR ended the last line: an LF right after belongs to it
  bool repeatLine_ = false;  // the next ReadLine gives the same line again
  std::string line_;
  int lineNumber_ = 0;

  bool entitiesOn_ = false;
  bool inEntities_ = false;  // between ENTITIES and its ENDSEC
  bool sawSection_ = false;
  bool cut_ = false;
  bool utf8Texts_ = false;  // AC1021 and later keep texts in UTF-8
  bool fullShown_[kFullTableCount] = {};
  int selectedTable_ = 0;
  int textEnd_ = 0;

  std::vector<Layer> layers_;
  std::unordered_map<std::string, int> layerIndex_;
  std::vector<std::pair<std::string, std::int32_t>> lineTypes_;
  std::unordered_map<std::string, std::int32_t> lineTypeIndex_;
  std::vector<Block> blocks_;
  std::unordered_map<std::string, int> blockIndex_;
  int curBlock_ = kNoBlock;
  std::vector<TextRecord> blockTexts_;

  // What the read added, to take it back.
  int tableCounts_[kTableCurves + 1] = {};
  int textStart_ = 0;
  int curveNumberStart_ = 0;

  DxfReadOutcome outcome_;
};

}  // namespace dorn::dxf
