#include "app/start.h"

#include <QApplication>

#include "app/form1.h"
#include "platform/termination_signals.h"

int StartForm(Form1& form, const std::function<void()>& on_shown) {
  if (!form.Form_Load()) return 1;
  platform::CloseOnTerminationSignals(&form);
  form.show();
  if (on_shown) on_shown();
  return QApplication::exec();
}
