#pragma once

#include <string>
#include <typeinfo>

#include <cxxabi.h>

#include <cstdlib>

/// A component type's name for failure messages: its entity-file key where it has one, else
/// the demangled type name.
template <class C>
std::string ComponentName() {
    if constexpr (requires { C::kName; }) {
        return "\"" + std::string(C::kName) + "\"";
    } else {
        int status = 0;
        char* demangled = abi::__cxa_demangle(typeid(C).name(), nullptr, nullptr, &status);
        std::string name = status == 0 && demangled ? demangled : typeid(C).name();
        std::free(demangled);
        return name;
    }
}
