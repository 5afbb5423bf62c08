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

  framePanel = new QFrame(this);
  framePanel->setGeometry(10, 20, 356, 198);
  framePanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);

  okButton = new QPushButton(QCoreApplication::translate("AboutBox", "OK"), this);
  okButton->setGeometry(158, 228, 80, 40);
  okButton->setDefault(true);
  connect(okButton, &QPushButton::clicked, this, [this] { OkClicked(); });

  programIcon = new QLabel(framePanel);
  programIcon->setGeometry(10, 10, 128, 96);
  programIcon->setScaledContents(true);
  programIcon->setPixmap(QPixmap::fromImage(DrawDecoderPicture()));
  programIcon->setAccessibleName(
      QCoreApplication::translate("AboutBox", "Afbeelding van de WD10-decoder"));

  productNameLabel = MakeLabel(framePanel, QStringLiteral("Zonnedal"), 10, 132);
  versionLabel =
      MakeLabel(framePanel, QCoreApplication::translate("AboutBox", "Version 1.0"), 10, 149);
  copyrightLabel = MakeLabel(framePanel, QStringLiteral("Copyright ©"), 10, 174);
  commentsLabel = new QLabel(QStringLiteral("2006 - 2025"), framePanel);
  commentsLabel->setGeometry(128, 174, 129, 32);
  commentsLabel->setWordWrap(true);

  const QString captions[] = {QStringLiteral("SPU"), QStringLiteral("KPU"),
                              QStringLiteral("PPU"), QStringLiteral("LIPU"),
                              QStringLiteral("DNC"), QStringLiteral("Serial")};
  QLabel** captionLabels[] = {&spuCaption,  &kpuCaption, &ppuCaption,
                              &lipuCaption, &dncCaption, &serialCaption};
  QLabel** valueLabels[] = {&spuValue, &kpuValue, &ppuValue, &lipuValue, &dncValue, &serialValue};
  for (int row = 0; row < 6; ++row) {
    *captionLabels[row] = MakeLabel(framePanel, captions[row], kCaptionLeft, kRowTops[row]);
    auto* value = new QLabel(QStringLiteral("?"), framePanel);
    value->setGeometry(kValueLeft, kRowTops[row], kValueWidth, kRowHeight);
    value->setAccessibleName(captions[row] + QStringLiteral(" ?"));
    value->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    (*captionLabels[row])->setBuddy(value);
    *valueLabels[row] = value;
  }

  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
  okButton->setFocus();
}

void AboutBox::ShowValue(StationVersionField field, const QString& value) {
  const struct {
    QLabel* caption;
    QLabel* value;
  } rows[] = {{spuCaption, spuValue},   {kpuCaption, kpuValue}, {ppuCaption, ppuValue},
              {lipuCaption, lipuValue}, {dncCaption, dncValue}, {serialCaption, serialValue}};
  const auto& row = rows[static_cast<int>(field)];
  row.value->setText(value);
  row.value->setAccessibleName(row.caption->text() + u' ' + value);
}

// The window is hidden, never destroyed: its values stay for the next time it is shown.
void AboutBox::OkClicked() {
  accept();
}
