#pragma once

#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/Error.h"
#include "platform/Platform.h"

namespace vantrel::testing {

// An in-memory machine: an environment, folders of file names, and a record
// of what the logic showed and started.
class FakePlatform final : public Platform {
  public:
    static constexpr std::uint32_t kPathNotFound = 3;
    static constexpr wchar_t kInUse[] = L"另一个程序正在使用此文件，进程无法访问。";

    std::vector<std::wstring> environment;
    std::map<std::wstring, std::vector<std::wstring>> folders;  // folder -> names, listing order
    std::set<std::wstring> otherItems;                          // paths that exist elsewhere
    std::set<std::wstring> lockedFiles;                         // paths that cannot be recycled
    std::set<std::wstring> keptByUser;  // paths whose permanent delete the user refuses
    std::optional<Error> explorerFailure;
    std::vector<std::wstring> messages;
    std::vector<std::wstring> explorerArguments;
    std::vector<std::wstring> recycled;
    std::function<std::unique_ptr<AutomationObject>(const std::wstring&)> objectFactory;

    std::vector<std::wstring> EnvironmentEntries() const override { return environment; }

    std::vector<std::wstring> ListFiles(const std::wstring& folder) const override {
        const auto found = folders.find(folder);
        if (found == folders.end()) throw Error(L"系统找不到指定的路径。", kPathNotFound);
        return found->second;
    }

    bool Exists(const std::wstring& path) const override {
        if (folders.contains(path) || otherItems.contains(path)) return true;
        const auto [folder, name] = Split(path);
        const auto found = folders.find(folder);
        return found != folders.end() &&
               std::ranges::find(found->second, name) != found->second.end();
    }

    DeleteOutcome RecycleFile(const std::wstring& path) override {
        const auto [folder, name] = Split(path);
        const auto found = folders.find(folder);
        if (found == folders.end()) throw Error(L"系统找不到指定的路径。", kPathNotFound);
        const auto entry = std::ranges::find(found->second, name);
        if (entry == found->second.end()) throw Error(L"系统找不到指定的文件。", 2);
        if (lockedFiles.contains(path)) throw Error(kInUse, 32);
        if (keptByUser.contains(path)) return DeleteOutcome::KeptByUser;
        found->second.erase(entry);
        recycled.push_back(path);
        return DeleteOutcome::Deleted;
    }

    void ShowMessage(const std::wstring& text) override { messages.push_back(text); }

    void StartExplorer(const std::wstring& argument) override {
        if (explorerFailure) throw Error(explorerFailure->Message(), explorerFailure->SystemCode());
        explorerArguments.push_back(argument);
    }

    std::unique_ptr<AutomationObject> CreateObject(const std::wstring& progId) override {
        if (!objectFactory) throw Error(L"没有注册类", 0x80040154);
        return objectFactory(progId);
    }

  private:
    static std::pair<std::wstring, std::wstring> Split(const std::wstring& path) {
        const auto slash = path.rfind(L'\\');
        if (slash == std::wstring::npos) return {std::wstring(), path};
        return {path.substr(0, slash), path.substr(slash + 1)};
    }
};

}  // namespace vantrel::testing
