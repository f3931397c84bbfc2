#pragma once
// The Setup dialog's tests share these: a folder of warrior, list and settings files, an
// application with the dialog whose start folder is that folder, and views of its lists.

#include <QComboBox>
#include <QDir>
#include <QListWidget>
#include <QTemporaryDir>

#include <algorithm>
#include <fstream>
#include <memory>
#include <string>

#include "params/settings_file.h"
#include "tests/ui/support/session.h"
#include "ui/params_form.h"

namespace velmora::test {

// A folder of one-line warriors named as asked, and list files naming them.
class WarriorFolder {
public:
  std::string Warrior(const std::string& name) {
    const std::string path = Path(name + ".red");
    std::ofstream(path) << ";redcode-94\n;name " << name << "\nMOV 0, 1\n";
    return path;
  }
  std::string List(std::initializer_list<const char*> names) {
    const std::string path = Path("list" + std::to_string(lists_++) + ".txt");
    std::ofstream out(path);
    out << ";warriorlist\n";
    for (const char* n : names)
      out << Warrior(n) << '\n';
    return path;
  }
  std::string Settings(const TSetupFields& fields, const std::string& name) {
    std::string error;
    const std::string path = Path(name);
    if (!SaveSettingsFile(path, fields, error)) qFatal("%s", error.c_str());
    return path;
  }
  std::string Path(const std::string& name) const { return dir_.path().toStdString() + "/" + name; }
  std::string Folder() const { return dir_.path().toStdString(); }

private:
  QTemporaryDir dir_;
  int lists_ = 0;
};

inline QList<int> SelectedRows(const QListWidget* list) {
  QList<int> rows;
  for (const QListWidgetItem* item : list->selectedItems())
    rows << list->row(item);
  std::sort(rows.begin(), rows.end());
  return rows;
}

// An application whose start folder is a fresh folder (no default.cfg unless written).
struct Fixture {
  Fixture() : app(platform) { app.StartDirectory = folder.Folder(); }
  // The dialog as the program creates it, then filled as every showing does.
  TFormParams& Dialog() {
    if (!dialog) {
      dialog = std::make_unique<TFormParams>(app);
      dialog->FormShow();
    }
    return *dialog;
  }
  // Puts warriors into the dialog through "Add" with one list file.
  void Add(std::initializer_list<const char*> names) {
    platform.FileNames.push_back(folder.List(names));
    Dialog().ButtonAddFiles->click();
  }

  WarriorFolder folder;
  TScriptedPlatform platform;
  TVelmoraApp app;
  std::unique_ptr<TFormParams> dialog;
};

} // namespace velmora::test
