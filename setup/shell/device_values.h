#pragma once
// The device's values as the window knows them, kept by info number: the
// answers as the device gave them (bytes). The status display's labels
// observe it; the commands put what they read back into it.
#include <QObject>
#include <map>
#include <optional>
#include <string>

namespace korvena::kalibro {

class DeviceValues : public QObject {
  Q_OBJECT

 public:
  using QObject::QObject;

  // Keeps `answer` for info `number` and tells the observers.
  void Set(int number, const std::string& answer);
  std::optional<std::string> Get(int number) const;

 signals:
  void Changed(int number);

 private:
  std::map<int, std::string> answers_;
};

}  // namespace korvena::kalibro
