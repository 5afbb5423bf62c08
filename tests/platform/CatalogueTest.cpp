// Run by CTest once under LANG=nl_NL.UTF-8 with the filter Dutch* and once under LANG=C with
// the filter English*, with the catalogue beside the executable both times.
#include <gtest/gtest.h>

#include <locale.h>

#include <QLabel>
#include <QPushButton>

#include "serial/SerialPortError.h"
#include "serialwidgets/PortSettingsDialog.h"

namespace {

TEST(DutchCatalogue, DialogAndEveryComPortMessageReadInDutch) {
  ASSERT_STREQ(setlocale(LC_MESSAGES, nullptr), "nl_NL.UTF-8")
      << "the nl_NL.UTF-8 locale is missing; scripts/install-deps.sh generates it";
  const PortSettingsDialog dialog;
  EXPECT_EQ(dialog.windowTitle() + dialog.Label6->text().remove('&') + dialog.programButton->text(),
            "PoortinstellingenStroombesturingAnnuleren");
  EXPECT_EQ(SerialPortError(1, 2).Message(), "Kan de compoort niet openen (win error code: 2)");

  // Each message differs from its English text, read under the C locale for this thread only.
  const locale_t c = newlocale(LC_ALL_MASK, "C", nullptr);
  QStringList dutch;
  for (int code = 1; code <= 23; ++code) {
    const locale_t previous = uselocale(c);
    const QString english = SerialErrorMessage(code);
    uselocale(previous);
    ASSERT_FALSE(english.isEmpty()) << code;
    EXPECT_NE(SerialErrorMessage(code), english) << english.toStdString();
    dutch << SerialErrorMessage(code);
  }
  freelocale(c);
  EXPECT_EQ(dutch.removeDuplicates(), 0);
}

TEST(EnglishTexts, WithoutTheLanguageTheBuiltInTextsShow) {
  EXPECT_EQ(PortSettingsDialog().windowTitle(), "Setup");
  EXPECT_EQ(SerialPortError(1, 2).Message(), "Unable to open com port (win error code: 2)");
}

}  // namespace
