// The tree a registry script describes: root keys holding keys with default values, named
// values, removal flags and subkeys, in script order.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace kv {

enum class RegistryRoot { ClassesRoot, CurrentUser, LocalMachine, Users, CurrentConfig };

// NoRemove keys survive removal; ForceRemove keys are wiped before they are written.
enum class RegistryKeyFlag { None, NoRemove, ForceRemove };

struct RegistryValue {
    enum class Type { String, Dword };
    Type type = Type::String;
    std::wstring text;  // Type::String
    DWORD number = 0;   // Type::Dword
};

struct RegistryNamedValue {
    std::wstring name;
    RegistryValue value;
};

struct RegistryKeyNode {
    std::wstring name;
    RegistryKeyFlag flag = RegistryKeyFlag::None;
    std::optional<RegistryValue> defaultValue;
    std::vector<RegistryNamedValue> values;
    std::vector<RegistryKeyNode> subkeys;
};

struct RegistryRootNode {
    RegistryRoot root = RegistryRoot::ClassesRoot;
    std::vector<RegistryKeyNode> keys;
};

struct RegistryScript {
    std::vector<RegistryRootNode> roots;
};

}  // namespace kv
