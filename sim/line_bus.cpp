#include "line_bus.h"

#include <utility>

namespace sim {

bool LineState::operator==(const LineState& other) const {
  return scl == other.scl && sda == other.sda && masterScl == other.masterScl &&
         masterSda == other.masterSda && devicesScl == other.devicesScl &&
         devicesSda == other.devicesSda;
}

namespace {

// The edge that leads from `before` to `after`, which differ in at most one
// line; false when neither line changed.
bool ClassifyEdge(const LineState& before, const LineState& after,
                  EdgeKind* kind) {
  if (before.scl != after.scl) {
    *kind = after.scl ? EdgeKind::kSclRise : EdgeKind::kSclFall;
    return true;
  }
  if (before.sda != after.sda) {
    if (!after.scl)
      *kind = EdgeKind::kDataChange;
    else
      *kind = after.sda ? EdgeKind::kStop : EdgeKind::kStart;
    return true;
  }
  return false;
}

}  // namespace

LineBus::LineBus() : outputs_(1) {}

int LineBus::AddParticipant() {
  outputs_.emplace_back();
  return static_cast<int>(outputs_.size()) - 1;
}

void LineBus::AddListener(BusListener* listener) {
  listeners_.push_back(listener);
}

void LineBus::SetObserver(std::function<void(const LineState&)> observer) {
  observer_ = std::move(observer);
}

LineState LineBus::Combine() const {
  LineState combined;
  combined.masterScl = outputs_[kMaster].scl;
  combined.masterSda = outputs_[kMaster].sda;
  for (size_t i = 1; i < outputs_.size(); ++i) {
    combined.devicesScl = combined.devicesScl && outputs_[i].scl;
    combined.devicesSda = combined.devicesSda && outputs_[i].sda;
  }
  combined.scl = combined.masterScl && combined.devicesScl;
  combined.sda = combined.masterSda && combined.devicesSda;
  return combined;
}

void LineBus::Drive(int participant, Line line, bool release) {
  Outputs& outputs = outputs_[static_cast<size_t>(participant)];
  bool& output = line == Line::kScl ? outputs.scl : outputs.sda;
  if (output == release) return;
  output = release;

  const LineState before = state_;
  state_ = Combine();
  if (state_ == before) return;
  if (observer_) observer_(state_);
  EdgeKind kind;
  if (ClassifyEdge(before, state_, &kind)) pending_.push_back({kind, state_});
  Deliver();
}

void LineBus::Deliver() {
  if (delivering_) return;  // the outer call delivers what is queued
  delivering_ = true;
  while (!pending_.empty()) {
    const BusEdge edge = pending_.front();
    pending_.pop_front();
    for (BusListener* listener : listeners_) Tell(*listener, edge);
  }
  delivering_ = false;
}

void LineBus::Tell(BusListener& listener, const BusEdge& edge) {
  // In EdgeKind's order.
  static void (BusListener::*const kHandlers[])(const LineState&) = {
      &BusListener::OnSclRise, &BusListener::OnSclFall,
      &BusListener::OnDataChange, &BusListener::OnStart, &BusListener::OnStop};
  (listener.*kHandlers[static_cast<int>(edge.kind)])(edge.state);
}

void LineBus::ReleaseAll() {
  for (Outputs& outputs : outputs_) outputs = Outputs();
  pending_.clear();
  state_ = Combine();
}

}  // namespace sim
