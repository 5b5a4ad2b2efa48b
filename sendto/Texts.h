#pragma once

// Every text the user sees, in one place.
namespace vantrel::texts {

inline constexpr wchar_t kTitle[] = L"Vantrel";
inline constexpr wchar_t kPlaceholder[] = L"直接拖拽文件夹、exe或快捷方式至此";
inline constexpr wchar_t kCommand1Caption[] = L"确定添加";
inline constexpr wchar_t kCommand2Caption[] = L"删除";
// A reserved example domain: the link never leads users to a stranger's site.
inline constexpr wchar_t kMakerHost[] = L"pelgrin.example";
inline constexpr wchar_t kLabel1Caption[] = L"Pelgrin软件：pelgrin.example";

inline constexpr wchar_t kAppDataMissing[] =
    L"找不到环境变量 APPDATA，无法确定“发送到”文件夹的位置。";
inline constexpr wchar_t kAppDataEmpty[] = L"环境变量 APPDATA 为空，无法确定“发送到”文件夹的位置。";
inline constexpr wchar_t kFolderUnreadable[] = L"无法读取“发送到”文件夹：";
inline constexpr wchar_t kUnexpectedFailure[] = L"操作失败：发生了意外的错误。";

}  // namespace vantrel::texts
