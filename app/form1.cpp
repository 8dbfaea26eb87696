#include "app/form1.h"

#include <QCloseEvent>
#include <QMessageBox>
#include <QPushButton>

void ShowMessageBox(const QString& title, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok);
  box.button(QMessageBox::Ok)->setIcon(QIcon());  // plain text button, as on every platform
  box.exec();
}

Form1::Form1(platform::Iowkit& iowkit, platform::Clock& clock, platform::EventPump& events,
             platform::Sensors& sensors, QWidget* parent)
    : QWidget(parent),
      iowkit_(iowkit),
      port_(iowkit),
      ticker_(port_, clock, events),
      runner_(port_, ticker_, sensors),
      message_box_(ShowMessageBox) {
  setWindowTitle(QString::fromLatin1(kForm1Caption));
  setFixedSize(525, 144);
  AnzeigestartButton = new QPushButton(QStringLiteral("Anzeigestart"), this);
  AnzeigestartButton->setObjectName(QStringLiteral("AnzeigestartButton"));
  AnzeigestartButton->setGeometry(16, 96, 89, 33);
  connect(AnzeigestartButton, &QPushButton::clicked, this, [this] { AnzeigestartButton_Click(); });
}

Form1::~Form1() {
  // A window torn down without a close event still releases the link.
  if (loaded_ && !unloaded_) Form_Unload();
}

bool Form1::Form_Load() {
  port_.DeviceHandle = iowkit_.IowKitOpenDevice();
  if (port_.DeviceHandle == 0) {
    message_box_(QString::fromLatin1(kNoDeviceTitle), QString::fromLatin1(kNoDeviceText));
    return false;
  }
  loaded_ = true;
  return true;
}

void Form1::Form_Unload() {
  if (unloaded_) return;
  unloaded_ = true;
  // Stop the run first, so that nothing is sent once the link is closed.
  ticker_.Stop();
  iowkit_.IowKitCloseDevice(port_.DeviceHandle);
  port_.DeviceHandle = 0;
  if (unload_listener_) unload_listener_();
}

void Form1::AnzeigestartButton_Click() {
  if (running_ || unloaded_ || !loaded_) return;
  running_ = true;
  AnzeigestartButton->setEnabled(false);
  runner_.StatusRun();
  running_ = false;
  if (!unloaded_) AnzeigestartButton->setEnabled(true);
}

void Form1::closeEvent(QCloseEvent* event) {
  if (loaded_) Form_Unload();
  event->accept();
}
