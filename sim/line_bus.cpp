#include "line_bus.h"

namespace sim {

bool LineState::operator==(const LineState& other) const {
  return scl == other.scl && sda == other.sda && masterScl == other.masterScl &&
         masterSda == other.masterSda && devicesScl == other.devicesScl &&
         devicesSda == other.devicesSda;
}

namespace {

// The listeners' handler for the change from `before` to `after`, which
// differ in at most one line; null when no edge is to be told.
EdgeHandler EdgeOf(const LineState& before, const LineState& after) {
  if (before.scl != after.scl)
    return after.scl ? &BusListener::OnSclRise : &BusListener::OnSclFall;
  if (before.sda != after.sda && after.scl)
    return after.sda ? &BusListener::OnStop : &BusListener::OnStart;
  return nullptr;
}

}  // namespace

int LineBus::AddParticipant() {
  outputs_.emplace_back();
  return static_cast<int>(outputs_.size()) - 1;
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
  if (EdgeHandler handler = EdgeOf(before, state_))
    pending_.push_back({handler, state_});
  Deliver();
}

void LineBus::Deliver() {
  if (delivering_) return;  // the outer call delivers what is queued
  delivering_ = true;
  while (!pending_.empty()) {
    const Edge edge = pending_.front();
    pending_.pop_front();
    for (BusListener* listener : listeners_)
      (listener->*edge.handler)(edge.state);
  }
  delivering_ = false;
}

void LineBus::ReleaseAll() {
  for (Outputs& outputs : outputs_) outputs = Outputs();
  pending_.clear();
  state_ = Combine();
}

}  // namespace sim
