#pragma once

#include <string_view>

// Every text the user sees, in one place.
namespace vantrel::texts {

inline constexpr wchar_t kTitle[] = L"Vantrel";
inline constexpr wchar_t kPlaceholder[] = L"直接拖拽文件夹、exe或快捷方式至此";
inline constexpr wchar_t kCommand1Caption[] = L"确定添加";
inline constexpr wchar_t kCommand2Caption[] = L"删除";
// What screen readers call the two controls that no label precedes.
inline constexpr wchar_t kText1AccessibleName[] = L"要添加的文件夹、程序或快捷方式的路径";
inline constexpr wchar_t kList1AccessibleName[] = L"“发送到”文件夹中的项目";

// The maker's web site, shown by Label1 and opened by clicking it. A reserved
// example domain: the link never leads users to a stranger's site.
inline constexpr std::wstring_view kMakerHost = L"pelgrin.example";
inline constexpr wchar_t kLabel1Caption[] = L"Pelgrin软件：pelgrin.example";
inline constexpr wchar_t kMakerAddress[] = L"http://pelgrin.example";
static_assert(std::wstring_view(kLabel1Caption).ends_with(kMakerHost));
static_assert(std::wstring_view(kMakerAddress).ends_with(kMakerHost));

inline constexpr wchar_t kAppDataMissing[] =
    L"找不到环境变量 APPDATA，无法确定“发送到”文件夹的位置。";
inline constexpr wchar_t kAppDataEmpty[] = L"环境变量 APPDATA 为空，无法确定“发送到”文件夹的位置。";
inline constexpr wchar_t kFolderUnreadable[] = L"无法读取“发送到”文件夹：";
inline constexpr wchar_t kUnexpectedFailure[] = L"发生意外错误，操作未能完成。";
inline constexpr wchar_t kStartFailure[] = L"发生意外错误，Vantrel 无法启动。";

// A system error reads as its description followed by its code in brackets, or
// as the code alone when the system has no description for it (ErrorText).
inline constexpr wchar_t kErrorCode[] = L"错误代码 ";
inline constexpr wchar_t kCodeOpen[] = L"（";
inline constexpr wchar_t kCodeClose[] = L"）";

inline constexpr wchar_t kEnterValidPath[] = L"请输入正确路径！";
inline constexpr wchar_t kCreated[] = L"创建成功！";
inline constexpr wchar_t kCreateFailed[] = L"创建失败：";

inline constexpr wchar_t kSelectFirst[] = L"请选择一项后，点击删除！";
inline constexpr wchar_t kDeleted[] = L"删除成功！";
inline constexpr wchar_t kDeleteFailed[] = L"删除失败：";

inline constexpr wchar_t kCannotOpenPage[] = L"无法打开网页：";

}  // namespace vantrel::texts
