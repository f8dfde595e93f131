#include "check/line.h"

#include <algorithm>

namespace zemuc::check {

void LineFindings::add(std::size_t raw_offset, Problem problem,
                       std::string_view subject) {
  // The line that stops the translation is always named.
  if (spots_.size() < kMostPerLine || problem == Problem::kDisplayNothing) {
    spots_.push_back({raw_offset, problem, std::string(subject)});
    return;
  }
  // Full: the new spot takes the place of the latest one, if it comes
  // before it.
  auto latest = std::max_element(
      spots_.begin(), spots_.end(), [](const Spot& a, const Spot& b) {
        const bool a_stays = a.problem == Problem::kDisplayNothing;
        const bool b_stays = b.problem == Problem::kDisplayNothing;
        return a_stays != b_stays ? a_stays : a.raw_offset < b.raw_offset;
      });
  if (raw_offset < latest->raw_offset) {
    *latest = {raw_offset, problem, std::string(subject)};
  }
}

std::vector<LineFindings::Spot> LineFindings::take() {
  std::vector<Spot> spots = std::move(spots_);
  spots_.clear();
  std::stable_sort(
      spots.begin(), spots.end(),
      [](const Spot& a, const Spot& b) { return a.raw_offset < b.raw_offset; });
  return spots;
}

}  // namespace zemuc::check
