#include "serialwidgets/PortSettingComboBox.h"

#include <QDir>
#include <QFileInfo>
#include <QSignalBlocker>

#include "platform/ExceptionDisplay.h"
#include "serial/PortListWatcher.h"

PortSettingComboBox::PortSettingComboBox(QWidget* parent) : QComboBox(parent) {
  // currentIndexChanged rather than activated: a choice made with the keyboard, the mouse or
  // the Text property must all become the chosen value, or OK would write a stale one. Our own
  // refills and updates select quietly, so they never echo the port's value back to it.
  connect(this, &QComboBox::currentIndexChanged, this, &PortSettingComboBox::SelectionChanged);
}

PortSettingComboBox::~PortSettingComboBox() = default;

void PortSettingComboBox::SetComProperty(PortSetting value) {
  // The ports are read first, so that a failure to read them leaves the box as it was.
  const std::vector<SerialPortName> ports =
      value == cpPort ? ListSerialPortNames(byIdDir_) : std::vector<SerialPortName>{};
  select_.SetComProperty(value);
  {
    const QSignalBlocker quiet(this);
    clear();
    if (value == cpPort)
      AddPorts(ports);
    else
      addItems(PortSettingChoice::Items(value));
  }
  if (count() == 0) return;
  if (ComPort())
    UpdateSettings();
  else
    SelectFirstItem();
}

void PortSettingComboBox::SetComPort(SerialPortBase* port) {
  if (port == ComPort()) return;
  disconnect(portDestroyed_);
  portDestroyed_ = {};
  select_.SetComPort(port);
  if (!port) return;
  portDestroyed_ = connect(port, &QObject::destroyed, this, &PortSettingComboBox::PortDestroyed);
  UpdateSettings();
}

void PortSettingComboBox::PortDestroyed() {
  select_.SetComPort(nullptr);
  portDestroyed_ = {};
  if (count() > 0) SelectFirstItem();
}

void PortSettingComboBox::SetText(const QString& value) {
  int index = findText(value, Qt::MatchExactly | Qt::MatchCaseSensitive);
  if (index < 0) index = FindValue(value);
  if (index >= 0) setCurrentIndex(index);
}

void PortSettingComboBox::SetByIdDir(const QString& folder) {
  byIdDir_ = folder;
  if (watcher_) {
    watcher_.reset();
    SetWatchPorts(true);
  }
  RefreshPorts();
}

void PortSettingComboBox::SetWatchPorts(bool on) {
  if (!on) {
    watcher_.reset();
    return;
  }
  if (watcher_) return;
  watcher_ = std::make_unique<PortListWatcher>(byIdDir_);
  // The change comes from the event loop, where nothing may be thrown.
  connect(watcher_.get(), &PortListWatcher::Changed, this,
          [this] { RunGuarded([this] { RefreshPorts(); }); });
}

void PortSettingComboBox::RefreshPorts() {
  if (ComProperty() != cpPort) return;
  const QString selected = currentIndex() >= 0 ? ItemValue(currentIndex()) : QString();
  const std::vector<SerialPortName> ports = ListSerialPortNames(byIdDir_);
  {
    const QSignalBlocker quiet(this);
    clear();
    AddPorts(ports);
    if (ComPort()) KeepOffered(ComPort()->Port());
    KeepOffered(selected);
  }
  if (count() == 0) return;
  if (selected.isEmpty()) {
    ComPort() ? UpdateSettings() : SelectFirstItem();
    return;
  }
  const int index = FindValue(selected);
  SelectQuietly(index);
  // A kernel path that has just been given its stable name is chosen under that name.
  select_.Choose(ItemValue(index));
}

void PortSettingComboBox::KeepOffered(const QString& port) {
  // A port the system does not list (a pty, a remembered adapter that is not plugged in) is
  // still shown as it is, or OK would replace it by whatever the box happens to hold.
  if (!port.isEmpty() && FindValue(port) < 0) insertItem(0, port);
}

void PortSettingComboBox::UpdateSettings() {
  if (!ComPort() || ComProperty() == cpNone) return;
  const QString text = select_.PortValueText();
  int index = FindValue(text);
  if (index < 0 && ComProperty() == cpPort && !text.isEmpty()) {
    const QSignalBlocker quiet(this);
    KeepOffered(text);
    index = 0;
  }
  SelectQuietly(index);
  // The chosen value follows the port even when no item shows it, so that applying an
  // untouched box never writes something the user did not pick.
  select_.Choose(index >= 0 ? ItemValue(index) : text);
}

void PortSettingComboBox::AddPorts(const std::vector<SerialPortName>& ports) {
  for (const SerialPortName& port : ports) addItem(port.DisplayName, port.Path);
}

QString PortSettingComboBox::ItemValue(int index) const {
  const QVariant path = itemData(index);
  return path.isValid() ? path.toString() : itemText(index);
}

int PortSettingComboBox::FindValue(const QString& value) const {
  for (int i = 0; i < count(); ++i) {
    if (ItemValue(i) == value) return i;
  }
  // /dev/ttyUSB0 is the same adapter as the stable name that points to it: the port shows
  // under that name rather than twice.
  if (ComProperty() != cpPort || !QDir::isAbsolutePath(value)) return -1;
  const QString device = QFileInfo(value).canonicalFilePath();
  if (device.isEmpty()) return -1;
  for (int i = 0; i < count(); ++i) {
    if (QFileInfo(ItemValue(i)).canonicalFilePath() == device) return i;
  }
  return -1;
}

void PortSettingComboBox::SelectQuietly(int index) {
  const QSignalBlocker quiet(this);
  setCurrentIndex(index);
}

void PortSettingComboBox::SelectFirstItem() {
  SelectQuietly(0);
  select_.Choose(ItemValue(0));
}

void PortSettingComboBox::SelectionChanged(int index) {
  if (index < 0) return;
  RunGuarded([&] {
    select_.Choose(ItemValue(index));
    if (AutoApply()) select_.Apply();
  });
}
