// The kinds of command station the user chooses from. What each one is (its captions, its
// link, where its settings are kept) is written down once, in LinkFactory.
#pragma once

enum class CentralType { LocoNet, P50X, Lenz, Maerklin, Srcp };
