#pragma once

#include <cstddef>
#include <cstdint>

// Record identifiers of the Excel 97-2003 (BIFF8) workbook stream, as far as this reader and writer use them.
namespace engine::xls::rec {

constexpr uint16_t Formula = 0x0006;
constexpr uint16_t Eof = 0x000A;
constexpr uint16_t CalcCount = 0x000C;
constexpr uint16_t CalcMode = 0x000D;
constexpr uint16_t Precision = 0x000E;
constexpr uint16_t RefMode = 0x000F;
constexpr uint16_t Delta = 0x0010;
constexpr uint16_t Iteration = 0x0011;
constexpr uint16_t Protect = 0x0012;
constexpr uint16_t Password = 0x0013;
constexpr uint16_t Header = 0x0014;
constexpr uint16_t Footer = 0x0015;
constexpr uint16_t ExternSheet = 0x0017;
constexpr uint16_t Name = 0x0018;
constexpr uint16_t WindowProtect = 0x0019;
constexpr uint16_t VerticalPageBreaks = 0x001A;
constexpr uint16_t HorizontalPageBreaks = 0x001B;
constexpr uint16_t Note = 0x001C;
constexpr uint16_t Selection = 0x001D;
constexpr uint16_t DateMode = 0x0022;
constexpr uint16_t LeftMargin = 0x0026;
constexpr uint16_t RightMargin = 0x0027;
constexpr uint16_t TopMargin = 0x0028;
constexpr uint16_t BottomMargin = 0x0029;
constexpr uint16_t PrintHeaders = 0x002A;
constexpr uint16_t PrintGridlines = 0x002B;
constexpr uint16_t FilePass = 0x002F;
constexpr uint16_t Font = 0x0031;
constexpr uint16_t Continue = 0x003C;
constexpr uint16_t Window1 = 0x003D;
constexpr uint16_t Backup = 0x0040;
constexpr uint16_t Pane = 0x0041;
constexpr uint16_t CodePage = 0x0042;
constexpr uint16_t DefColWidth = 0x0055;
constexpr uint16_t Obj = 0x005D;
constexpr uint16_t SaveRecalc = 0x005F;
constexpr uint16_t ObjProtect = 0x0063;
constexpr uint16_t ColInfo = 0x007D;
constexpr uint16_t Guts = 0x0080;
constexpr uint16_t WsBool = 0x0081;
constexpr uint16_t GridSet = 0x0082;
constexpr uint16_t HCenter = 0x0083;
constexpr uint16_t VCenter = 0x0084;
constexpr uint16_t BoundSheet = 0x0085;
constexpr uint16_t Country = 0x008C;
constexpr uint16_t HideObj = 0x008D;
constexpr uint16_t Palette = 0x0092;
constexpr uint16_t FilterMode = 0x009B;
constexpr uint16_t FnGroupCount = 0x009C;
constexpr uint16_t AutoFilterInfo = 0x009D;
constexpr uint16_t AutoFilter = 0x009E;
constexpr uint16_t Scl = 0x00A0;
constexpr uint16_t Setup = 0x00A1;
constexpr uint16_t MulRk = 0x00BD;
constexpr uint16_t MulBlank = 0x00BE;
constexpr uint16_t Mms = 0x00C1;
constexpr uint16_t DbCell = 0x00D7;
constexpr uint16_t ScenProtect = 0x00DD;
constexpr uint16_t BookBool = 0x00DA;
constexpr uint16_t Xf = 0x00E0;
constexpr uint16_t InterfaceHdr = 0x00E1;
constexpr uint16_t InterfaceEnd = 0x00E2;
constexpr uint16_t MergedCells = 0x00E5;
constexpr uint16_t MsoDrawingGroup = 0x00EB;
constexpr uint16_t MsoDrawing = 0x00EC;
constexpr uint16_t Sst = 0x00FC;
constexpr uint16_t LabelSst = 0x00FD;
constexpr uint16_t ExtSst = 0x00FF;
constexpr uint16_t CondFmt = 0x01B0;
constexpr uint16_t Cf = 0x01B1;
constexpr uint16_t Txo = 0x01B6;
constexpr uint16_t DVal = 0x01B2;
constexpr uint16_t HLink = 0x01B8;
constexpr uint16_t Dv = 0x01BE;
constexpr uint16_t SupBook = 0x01AE;
constexpr uint16_t UsesElfs = 0x0160;
constexpr uint16_t Dsf = 0x0161;
constexpr uint16_t Tabid = 0x013D;
constexpr uint16_t Prot4Rev = 0x01AF;
constexpr uint16_t Prot4RevPass = 0x01BC;
constexpr uint16_t RefreshAll = 0x01B7;
constexpr uint16_t Excel9File = 0x01C0;
constexpr uint16_t RecalcId = 0x01C1;
constexpr uint16_t Dimensions = 0x0200;
constexpr uint16_t Blank = 0x0201;
constexpr uint16_t Number = 0x0203;
constexpr uint16_t Label = 0x0204;
constexpr uint16_t BoolErr = 0x0205;
constexpr uint16_t String = 0x0207;
constexpr uint16_t Row = 0x0208;
constexpr uint16_t Index = 0x020B;
constexpr uint16_t Array = 0x0221;
constexpr uint16_t DefaultRowHeight = 0x0225;
constexpr uint16_t Window2 = 0x023E;
constexpr uint16_t Rk = 0x027E;
constexpr uint16_t Style = 0x0293;
constexpr uint16_t Format = 0x041E;
constexpr uint16_t ShrFmla = 0x04BC;
constexpr uint16_t QuickTip = 0x0800;
constexpr uint16_t FeatHeader = 0x0867;
constexpr uint16_t Bof = 0x0809;

// BOF record: version and stream kinds.
constexpr uint16_t Biff8Version = 0x0600;
constexpr uint16_t BofGlobals = 0x0005;
constexpr uint16_t BofWorksheet = 0x0010;

// The largest record body BIFF8 allows; longer data continues in CONTINUE records.
constexpr size_t MaxBody = 8224;

} // namespace engine::xls::rec
