#include "tavrel/Registry.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include <algorithm>

#include "settings/StoreFormat.h"
#include "tavrel/excpt/Exception.h"

namespace tavrel {
namespace {

const QString kOrganisation = QStringLiteral("Corvanta");
const QString kApplication = QStringLiteral("ZRT7 Calvane");

QString qs(std::u16string_view text) {
  return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

QString storeFileIn(const QString& folder) {
  return folder + QLatin1Char('/') + kOrganisation + QLatin1Char('/') + kApplication +
         QStringLiteral(".settings");
}

QString defaultUserFile() {
  return storeFileIn(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
}

// The first machine-wide config folder that holds a store, else the first one.
QString defaultMachineFile() {
  QStringList folders = QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation);
  if (!folders.isEmpty()) {
    folders.removeFirst();  // the user's own folder
  }
  for (const QString& folder : folders) {
    if (QFileInfo::exists(storeFileIn(folder))) {
      return storeFileIn(folder);
    }
  }
  return folders.isEmpty() ? QString() : storeFileIn(folders.first());
}

bool validName(const QString& name) {
  return !name.isEmpty() && name.size() <= 255 && !name.contains(QLatin1Char('/')) &&
         !name.contains(QLatin1Char('\\')) && !name.contains(settings::kKeyMarker);
}

// "a\b" -> "a/b"; empty when any part is not a valid name. The root is "".
bool groupOf(std::u16string_view subKey, QString& group) {
  group.clear();
  if (subKey.empty()) {
    return true;
  }
  const QStringList parts = qs(subKey).split(QLatin1Char('\\'));
  for (const QString& part : parts) {
    if (!validName(part)) {
      return false;
    }
  }
  group = parts.join(QLatin1Char('/'));
  return true;
}

QString joinKey(const QString& group, const QString& name) {
  return group.isEmpty() ? name : group + QLatin1Char('/') + name;
}

}  // namespace

// One store file behind QSettings. A file QSettings cannot read is "damaged": it is neither
// read nor rewritten.
class CRegistry::Store {
 public:
  Store(QString file, bool readOnly) : file_(std::move(file)), readOnly_(readOnly) { open(); }

  bool usable() const { return settings_ != nullptr; }
  const QString& file() const { return file_; }
  const QString& problem() const { return problem_; }

  bool hasGroup(const QString& group) const {
    if (!usable()) {
      return false;
    }
    if (group.isEmpty()) {
      return true;
    }
    settings_->beginGroup(group);
    const bool present = !settings_->allKeys().isEmpty();
    settings_->endGroup();
    return present;
  }

  QVariant value(const QString& group, const QString& name) const {
    return usable() ? settings_->value(joinKey(group, name)) : QVariant();
  }

  QStringList childGroups(const QString& group) const {
    if (!usable()) {
      return {};
    }
    settings_->beginGroup(group);
    QStringList groups = settings_->childGroups();
    settings_->endGroup();
    return groups;
  }

  // Applies a change and saves it; on failure the change is undone in memory as well.
  bool change(const QString& key, const QVariant& value) {
    if (!writable()) {
      return false;
    }
    const QVariant before = settings_->value(key);
    if (value.isValid()) {
      settings_->setValue(key, value);
    } else {
      settings_->remove(key);
    }
    return save([&] {
      if (before.isValid()) {
        settings_->setValue(key, before);
      } else {
        settings_->remove(key);
      }
    });
  }

  bool removeGroup(const QString& group) {
    if (!writable()) {
      return false;
    }
    settings_->beginGroup(group);
    const QStringList keys = settings_->allKeys();
    std::vector<std::pair<QString, QVariant>> before;
    for (const QString& key : keys) {
      before.emplace_back(key, settings_->value(key));
    }
    settings_->remove(QString());
    settings_->endGroup();
    return save([&] {
      for (const auto& [key, value] : before) {
        settings_->setValue(joinKey(group, key), value);
      }
    });
  }

 private:
  void open() {
    if (file_.isEmpty()) {
      problem_ = QStringLiteral("no settings file");
      return;
    }
    if (readOnly_ && !QFileInfo::exists(file_)) {
      problem_ = QStringLiteral("settings file %1 does not exist").arg(file_);
      return;
    }
    if (!readOnly_) {
      QDir().mkpath(QFileInfo(file_).absolutePath());
    }
    settings_ = std::make_unique<QSettings>(file_, settings::storeFormat());
    settings_->setAtomicSyncRequired(true);
    if (settings_->status() != QSettings::NoError) {
      problem_ = QStringLiteral("settings file %1 is damaged or unreadable; it is left unchanged")
                     .arg(file_);
      settings_.reset();
    }
  }

  bool writable() {
    if (readOnly_) {
      problem_ = QStringLiteral("settings file %1 is read-only").arg(file_);
      return false;
    }
    return usable();
  }

  template <class Undo>
  bool save(Undo undo) {
    settings_->sync();
    if (settings_->status() == QSettings::NoError) {
      return true;
    }
    problem_ = QStringLiteral("cannot save settings file %1").arg(file_);
    undo();
    // A fresh object forgets the failed state; the undone change needs no saving.
    settings_.reset();
    settings_ = std::make_unique<QSettings>(file_, settings::storeFormat());
    if (settings_->status() != QSettings::NoError) {
      settings_.reset();
    }
    return false;
  }

  QString file_;
  bool readOnly_;
  QString problem_;
  std::unique_ptr<QSettings> settings_;
};

CRegistry::CRegistry()
    : CRegistry(defaultUserFile().toStdU16String(), defaultMachineFile().toStdU16String()) {}

CRegistry::CRegistry(const std::u16string& userFile, const std::u16string& machineFile)
    : keyPath_(kApplicationKey),
      user_(std::make_unique<Store>(qs(userFile), false)),
      machine_(std::make_unique<Store>(qs(machineFile), true)) {}

CRegistry::~CRegistry() = default;

std::u16string CRegistry::userFile() const {
  return user_->file().toStdU16String();
}
std::u16string CRegistry::machineFile() const {
  return machine_->file().toStdU16String();
}
bool CRegistry::hasUserStore() const {
  std::lock_guard lock(mutex_);
  return user_->usable();
}

bool CRegistry::hasMachineStore() const {
  std::lock_guard lock(mutex_);
  return machine_->usable();
}

std::u16string CRegistry::lastError() const {
  std::lock_guard lock(mutex_);
  return lastError_;
}

bool CRegistry::readText(std::u16string_view subKey, std::u16string_view name,
                         std::u16string& out) const {
  QString group;
  const QString valueName = qs(name);
  if (!groupOf(subKey, group) || !validName(valueName)) {
    return false;
  }
  std::lock_guard lock(mutex_);
  for (const Store* store : {user_.get(), machine_.get()}) {
    const QVariant value = store->value(group, valueName);
    if (value.typeId() == QMetaType::QString) {
      out = value.toString().toStdU16String();
      return true;
    }
  }
  return false;
}

std::u16string CRegistry::readText(std::u16string_view subKey, std::u16string_view name) const {
  std::u16string text;
  readText(subKey, name, text);
  return text;
}

bool CRegistry::readTextList(std::u16string_view subKey, std::u16string_view name,
                             std::vector<std::u16string>& out) const {
  QString group;
  const QString valueName = qs(name);
  if (!groupOf(subKey, group) || !validName(valueName)) {
    return false;
  }
  std::lock_guard lock(mutex_);
  for (const Store* store : {user_.get(), machine_.get()}) {
    const QVariant value = store->value(group, valueName);
    if (value.typeId() == QMetaType::QStringList) {
      out.clear();
      for (const QString& item : value.toStringList()) {
        out.push_back(item.toStdU16String());
      }
      return true;
    }
  }
  return false;
}

namespace {

// The value a number read takes: the user store's when its sub-key and value exist.
QVariant numberSource(const QVariant& user, bool userHasGroup, const QVariant& machine) {
  return userHasGroup && user.isValid() ? user : machine;
}

}  // namespace

std::uint32_t CRegistry::readNumber32(std::u16string_view subKey, std::u16string_view name) const {
  QString group;
  const QString valueName = qs(name);
  if (groupOf(subKey, group) && validName(valueName)) {
    std::lock_guard lock(mutex_);
    const QVariant value = numberSource(user_->value(group, valueName), user_->hasGroup(group),
                                        machine_->value(group, valueName));
    if (value.typeId() == QMetaType::UInt) {
      return value.toUInt();
    }
  }
  throw excpt::SettingReadException();
}

std::uint64_t CRegistry::readNumber64(std::u16string_view subKey, std::u16string_view name) const {
  QString group;
  const QString valueName = qs(name);
  if (groupOf(subKey, group) && validName(valueName)) {
    std::lock_guard lock(mutex_);
    const QVariant value = numberSource(user_->value(group, valueName), user_->hasGroup(group),
                                        machine_->value(group, valueName));
    if (value.typeId() == QMetaType::ULongLong || value.typeId() == QMetaType::UInt) {
      return value.toULongLong();
    }
  }
  throw excpt::SettingReadException();
}

bool CRegistry::writeValue(std::u16string_view subKey, std::u16string_view name,
                           const QVariant& value) {
  QString group;
  const QString valueName = qs(name);
  std::lock_guard lock(mutex_);
  if (!groupOf(subKey, group) || !validName(valueName)) {
    lastError_ = QStringLiteral("invalid settings key \"%1\" or value name \"%2\"")
                     .arg(qs(subKey), valueName)
                     .toStdU16String();
    return false;
  }
  if (!user_->usable()) {
    lastError_ = user_->problem().toStdU16String();
    return false;
  }
  if (!user_->hasGroup(group)) {
    lastError_ =
        QStringLiteral("settings key \"%1\" does not exist").arg(qs(subKey)).toStdU16String();
    return false;
  }
  if (!user_->change(joinKey(group, valueName), value)) {
    lastError_ = user_->problem().toStdU16String();
    return false;
  }
  return true;
}

bool CRegistry::writeText(std::u16string_view subKey, std::u16string_view name,
                          std::u16string_view text) {
  if (text.size() > kMaxTextLength) {
    std::lock_guard lock(mutex_);
    lastError_ = u"text of " + std::u16string(name) + u" is longer than the settings store allows";
    return false;
  }
  return writeValue(subKey, name, qs(text));
}

bool CRegistry::writeTextList(std::u16string_view subKey, std::u16string_view name,
                              const std::vector<std::u16string>& items) {
  QStringList list;
  const bool fits = items.size() <= kMaxListItems &&
                    std::all_of(items.begin(), items.end(), [](const std::u16string& item) {
                      return item.size() <= kMaxTextLength;
                    });
  if (!fits) {
    std::lock_guard lock(mutex_);
    lastError_ = u"list " + std::u16string(name) + u" is larger than the settings store allows";
    return false;
  }
  for (const std::u16string& item : items) {
    list.append(qs(item));
  }
  return writeValue(subKey, name, list);
}

void CRegistry::writeNumber32(std::u16string_view subKey, std::u16string_view name,
                              std::uint32_t value) {
  if (!writeValue(subKey, name, QVariant::fromValue(static_cast<quint32>(value)))) {
    throw excpt::SettingWriteException();
  }
}

void CRegistry::writeNumber64(std::u16string_view subKey, std::u16string_view name,
                              std::uint64_t value) {
  if (!writeValue(subKey, name, QVariant::fromValue(static_cast<quint64>(value)))) {
    throw excpt::SettingWriteException();
  }
}

bool CRegistry::deleteValue(std::u16string_view subKey, std::u16string_view name) {
  return writeValue(subKey, name, QVariant());
}

bool CRegistry::createKey(std::u16string_view parent, std::u16string_view child) {
  std::u16string path(parent);
  if (!path.empty() && !child.empty()) {
    path += u'\\';
  }
  path += child;
  QString group;
  std::lock_guard lock(mutex_);
  if (!groupOf(path, group) || group.isEmpty()) {
    lastError_ = QStringLiteral("invalid settings key \"%1\"").arg(qs(path)).toStdU16String();
    return false;
  }
  if (user_->hasGroup(group)) {
    return true;
  }
  if (!user_->change(joinKey(group, settings::kKeyMarker), true)) {
    lastError_ = user_->problem().toStdU16String();
    return false;
  }
  return true;
}

bool CRegistry::keyExists(std::u16string_view subKey) const {
  QString group;
  std::lock_guard lock(mutex_);
  return groupOf(subKey, group) && user_->hasGroup(group);
}

bool CRegistry::deleteKey(std::u16string_view parent, std::u16string_view child) {
  QString parentGroup;
  const QString childName = qs(child);
  std::lock_guard lock(mutex_);
  if (!groupOf(parent, parentGroup) || !validName(childName)) {
    lastError_ = QStringLiteral("invalid settings key \"%1\"").arg(childName).toStdU16String();
    return false;
  }
  const QString group = joinKey(parentGroup, childName);
  if (!user_->hasGroup(group)) {
    lastError_ = QStringLiteral("settings key \"%1\" does not exist").arg(group).toStdU16String();
    return false;
  }
  if (!user_->removeGroup(group)) {
    lastError_ = user_->problem().toStdU16String();
    return false;
  }
  return true;
}

std::vector<std::u16string> CRegistry::subKeys(std::u16string_view subKey) const {
  QString group;
  std::vector<std::u16string> names;
  if (!groupOf(subKey, group)) {
    return names;
  }
  std::lock_guard lock(mutex_);
  for (const Store* store : {user_.get(), machine_.get()}) {
    for (const QString& name : store->childGroups(group)) {
      names.push_back(name.toStdU16String());
    }
  }
  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());
  return names;
}

}  // namespace tavrel
