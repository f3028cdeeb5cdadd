// wkutil: engine texts by id, the trimming of engine strings, the add-in's user-interface font,
// path helpers, and the wrappers that exchange records with the engine.
#pragma once

#include "engine/WKTypes.h"

#include <cstdint>
#include <string>

namespace nimb::wkutil {

// Module-wide values, set once when the add-in connects.
struct ModuleState {
    std::string uiFontName;
    int32_t uiFontSize = 0;
    int32_t uiFontCharset = 0;
};
ModuleState& moduleState();
void resetModuleState();
inline const std::string& uiFontName() { return moduleState().uiFontName; }
inline int32_t uiFontSize() { return moduleState().uiFontSize; }
inline int32_t uiFontCharset() { return moduleState().uiFontCharset; }

// Cuts s before its first NUL; a string without any NUL becomes empty.
void trimNull(std::string& s);

std::string getString(int32_t id);
std::string getStringP1(int32_t id, const std::string& p1);
std::string getStringP2(int32_t id, const std::string& p1, const std::string& p2);

// The character set for uiFontName (134, 128, 136, 129 for the four East Asian fonts, else 1).
int32_t getFontCharset();
// The font size a text gives: the number at its start rounded half to even ("10pt" 10, "8.5" 8). An
// empty text gives 9, and so does a text that does not start with a number, since a font of size 0
// would be unreadable. A number beyond the Long range raises 6 (overflow), as CLng would.
int32_t fontSizeFromText(const std::string& text);

void splitDrive(const std::string& path, std::string& drive, std::string& rest);
void splitPath(const std::string& path, std::string& drive, std::string& dir, std::string& file);
std::string getDirectory(const std::string& path);

// Record wrappers: fresh buffers, conversion, a second call for long texts, trimming. A string slot
// the engine sets to null or points at memory it was not given comes back empty; an error raised
// inside reaches the caller with its number, description and source unchanged.
int16_t wkProjectGet(int32_t hdl, twkProject& rec);
int16_t wkConnectionGet(int32_t hdl, twkConnection& rec);
int16_t wkProcedureGet(int32_t hdl, twkProcedure& rec);
int16_t wkProcedureEnumNext(int32_t enumHdl, twkProcedure& rec);
int16_t wkFunctionGet(int32_t hdl, twkFunction& rec);
int16_t wkFunctionEnumNext(int32_t enumHdl, twkFunction& rec);
int16_t wkTriggerGet(int32_t hdl, twkTrigger& rec);
int16_t wkTriggerEnumNext(int32_t enumHdl, twkTrigger& rec);
int16_t wkTableGet(int32_t hdl, twkTable& rec);
int16_t wkTableEnumNext(int32_t enumHdl, twkTable& rec);
int16_t wkViewGet(int32_t hdl, twkView& rec);
int16_t wkViewEnumNext(int32_t enumHdl, twkView& rec);
int32_t wkGetText(int32_t hdl, twkText& rec);
int32_t wkGetSQLText(int32_t hdl, twkSQLText& rec);
int32_t wkGetADOText(int32_t hdl, twkADOText& rec);
int32_t wkConnectionGetDE(int32_t hdl, twkConnectionDE& rec);
int32_t wkCommandGetDE(int32_t hdl, twkCommandDE& rec);

// The largest text size an engine may ask for in a second text call; a larger one raises 7 (out of
// memory) before anything is allocated, and the engine is not called again.
constexpr int32_t maxEngineTextSize = 16 * 1024 * 1024;

} // namespace nimb::wkutil
