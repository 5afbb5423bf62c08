#include <QApplication>

#include "WD10/TFrm_WD10.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationDisplayName(QStringLiteral("Sorvell"));
  TFrm_WD10 Frm_WD10;
  Frm_WD10.show();
  return QApplication::exec();
}
