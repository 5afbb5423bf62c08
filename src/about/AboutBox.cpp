#include "about/AboutBox.h"

#include <QCoreApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>

#include "about/DecoderPicture.h"

namespace {

constexpr int kRowTops[] = {18, 37, 55, 74, 92, 111};
constexpr int kCaptionLeft = 197;
constexpr int kValueLeft = 246;
constexpr int kValueWidth = 100;
constexpr int kRowHeight = 17;

QLabel* MakeLabel(QWidget* parent, const QString& text, int left, int top) {
  auto* label = new QLabel(text, parent);
  label->move(left, top);
  label->adjustSize();
  return label;
}

}  // namespace

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Zonnedal"));
  setFixedSize(383, 281);
  setModal(false);
  QFont designFont(QStringLiteral("MS Sans Serif"));
  designFont.setPixelSize(14);
  setFont(designFont);

  Panel1 = new QFrame(this);
  Panel1->setGeometry(10, 20, 356, 198);
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);

  OKButton = new QPushButton(QCoreApplication::translate("AboutBox", "OK"), this);
  OKButton->setGeometry(158, 228, 80, 40);
  OKButton->setDefault(true);
  connect(OKButton, &QPushButton::clicked, this, [this] { OKButtonClick(); });

  ProgramIcon = new QLabel(Panel1);
  ProgramIcon->setGeometry(10, 10, 128, 96);
  ProgramIcon->setScaledContents(true);
  ProgramIcon->setPixmap(QPixmap::fromImage(DrawDecoderPicture()));
  ProgramIcon->setAccessibleName(
      QCoreApplication::translate("AboutBox", "Afbeelding van de WD10-decoder"));

  ProductName = MakeLabel(Panel1, QStringLiteral("Zonnedal"), 10, 132);
  Version = MakeLabel(Panel1, QCoreApplication::translate("AboutBox", "Version 1.0"), 10, 149);
  Copyright = MakeLabel(Panel1, QStringLiteral("Copyright ©"), 10, 174);
  Comments = new QLabel(QStringLiteral("2006 - 2025"), Panel1);
  Comments->setGeometry(128, 174, 129, 32);
  Comments->setWordWrap(true);

  const QString captions[] = {QStringLiteral("SPU"), QStringLiteral("KPU"),
                              QStringLiteral("PPU"), QStringLiteral("LIPU"),
                              QStringLiteral("DNC"), QStringLiteral("Serial")};
  QLabel** captionLabels[] = {&StaticText1, &StaticText2, &StaticText3,
                              &StaticText4, &StaticText5, &StaticText6};
  QLabel** valueLabels[] = {&SPU, &KPU, &PPU, &LIPU, &DNC, &Serial};
  for (int row = 0; row < 6; ++row) {
    *captionLabels[row] = MakeLabel(Panel1, captions[row], kCaptionLeft, kRowTops[row]);
    auto* value = new QLabel(QStringLiteral("?"), Panel1);
    value->setGeometry(kValueLeft, kRowTops[row], kValueWidth, kRowHeight);
    value->setAccessibleName(captions[row] + QStringLiteral(" ?"));
    value->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    (*captionLabels[row])->setBuddy(value);
    *valueLabels[row] = value;
  }

  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
  OKButton->setFocus();
}

void AboutBox::ShowValue(StationVersionField field, const QString& value) {
  const struct {
    QLabel* caption;
    QLabel* value;
  } rows[] = {{StaticText1, SPU},  {StaticText2, KPU}, {StaticText3, PPU},
              {StaticText4, LIPU}, {StaticText5, DNC}, {StaticText6, Serial}};
  const auto& row = rows[static_cast<int>(field)];
  row.value->setText(value);
  row.value->setAccessibleName(row.caption->text() + u' ' + value);
}

// The window is hidden, never destroyed: its values stay for the next time it is shown.
void AboutBox::OKButtonClick() {
  accept();
}
