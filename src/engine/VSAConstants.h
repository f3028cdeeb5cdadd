// Named values of the engine boundary: notification kinds, object types, text types, access codes.
#pragma once

#include <cstdint>

namespace nimb::VSAConstants {

// twkNotify.lNotifyType
constexpr int32_t WK_NOTIFY_TEXT = 2;
constexpr int32_t WK_NOTIFY_SQL_TEXT = 3;
constexpr int32_t WK_NOTIFY_ADO_TEXT = 4;
constexpr int32_t WK_NOTIFY_FOLDER_CHANGED = 5;
constexpr int32_t WK_NOTIFY_OBJECT_CHANGED = 6;
constexpr int32_t WK_NOTIFY_OBJECT_REMOVED = 7;
constexpr int32_t WK_NOTIFY_OBJECT_ADDED = 8;
constexpr int32_t WK_NOTIFY_DE_CONNECTION = 9;
constexpr int32_t WK_NOTIFY_DE_COMMAND = 10;

// twkNotify.lObjectType, also the tags of tree nodes. A folder's objects are its type plus one.
constexpr int32_t WK_OBJ_PROJECT = 5;
constexpr int32_t WK_OBJ_CONNECTION = 6;
constexpr int32_t WK_OBJ_PROCEDURE_FOLDER = 7;
constexpr int32_t WK_OBJ_PROCEDURE = 8;
constexpr int32_t WK_OBJ_FUNCTION_FOLDER = 9;
constexpr int32_t WK_OBJ_FUNCTION = 10;
constexpr int32_t WK_OBJ_TRIGGER_FOLDER = 11;
constexpr int32_t WK_OBJ_TRIGGER = 12;
constexpr int32_t WK_OBJ_TABLE_FOLDER = 13;
constexpr int32_t WK_OBJ_TABLE = 14;
constexpr int32_t WK_OBJ_VIEW_FOLDER = 15;
constexpr int32_t WK_OBJ_VIEW = 16;

// twkText.lTextType
constexpr int32_t WK_TEXT_COMMAND = 1;  // a command word or a question
constexpr int32_t WK_TEXT_MESSAGE = 3;

// WKProjectDoAccess access codes
constexpr int32_t WK_ACCESS_OPEN = 2;
constexpr int32_t WK_ACCESS_SAVE_AS = 4;
constexpr int32_t WK_ACCESS_OPEN_OR_CREATE = 9;

// The IDE kinds getIdeType reports.
constexpr int32_t IDE_VB = 1;
constexpr int32_t IDE_OTHER = 2;

} // namespace nimb::VSAConstants
