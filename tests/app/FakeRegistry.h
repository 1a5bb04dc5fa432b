// A class registry held in memory, laid out as the viewer's registry keys are (".mnf" -> class ->
// class\shell\Open\command ...), for tests of the logic above the desktop's associations.
#pragma once
#include <map>
#include <string>

#include "platform/ClassRegistry.h"

namespace qv::test {

class TFakeRegistry : public TClassRegistry {
public:
  // Keys compare without regard to case, as the registry's do.
  static std::string Norm(std::string k) {
    for (char& c : k) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return k;
  }
  bool KeyExists(const std::string& key) override {
    const std::string k = Norm(key);
    for (auto& [name, value] : Values)
      if (name == k || name.rfind(k + "\\", 0) == 0) return true;
    return false;
  }
  bool ReadDefault(const std::string& key, std::string& value) override {
    if (!KeyExists(key)) return false;
    auto it = Values.find(Norm(key));
    value = it == Values.end() ? "" : it->second;
    return true;
  }
  bool WriteDefault(const std::string& key, const std::string& value) override {
    ++Writes;
    Values[Norm(key)] = value;
    return true;
  }
  bool DeleteKey(const std::string& key) override {
    const std::string k = Norm(key);
    bool any = false;
    for (auto it = Values.begin(); it != Values.end();) {
      if (it->first == k || it->first.rfind(k + "\\", 0) == 0) {
        it = Values.erase(it);
        any = true;
      } else {
        ++it;
      }
    }
    if (any) ++Writes;
    return any;
  }
  std::string Get(const std::string& key) const {
    auto it = Values.find(Norm(key));
    return it == Values.end() ? "<none>" : it->second;
  }
  std::map<std::string, std::string> Values;
  int Writes = 0;
};

}  // namespace qv::test
