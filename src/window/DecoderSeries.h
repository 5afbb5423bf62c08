// A series: the decoders the user picked in the list (or every one not programmed yet),
// programmed one after another on the same connection. Before each, a question asks the user to
// put that decoder in learning mode; its row records what the run came to.
#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "platform/Task.h"
#include "window/DecoderList.h"

class DecoderListWindow;

class DecoderSeries {
 public:
  struct Host {
    // Connected, and no run under way.
    std::function<bool()> readyToProgram;
    // Readies the programming panel for the next decoder, fills the row in and runs it; nothing
    // when no run was made.
    std::function<Task<std::optional<RunRecord>>(DecoderRow)> program;
  };

  DecoderSeries(DecoderListWindow& list, Host host) : list_(list), host_(std::move(host)) {}

  // The rows of these ids, in this order; one another window removed meanwhile is passed over.
  // Ends at the first decoder that did not learn, or when the user cancels.
  Task<void> Run(std::vector<QString> ids);

 private:
  DecoderListWindow& list_;
  Host host_;
};
