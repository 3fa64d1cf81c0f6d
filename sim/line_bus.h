// The two lines of an open-drain I2C bus. Every participant (the master,
// each device) has an output per line that either releases the line or
// pulls it low; a line is high only while every output releases it.
//
// Event-driven: each change of a line becomes an edge that every listener
// sees, in the order the changes happened. A listener may change its own
// outputs while it handles an edge; the edges that this causes are queued
// and delivered after the current one has reached every listener.
#pragma once

#include <deque>
#include <functional>
#include <utility>
#include <vector>

namespace sim {

enum class Line { kScl = 0, kSda = 1 };

// Levels: true is high (or, for an output, released).
struct LineState {
  bool scl = true;
  bool sda = true;
  bool masterScl = true;  // the master's outputs
  bool masterSda = true;
  bool devicesScl = true;  // every device's outputs, combined
  bool devicesSda = true;

  bool operator==(const LineState& other) const;
};

// Told of each edge by its kind; `state` is the lines right after it. SDA
// changing while SCL is low is no edge of its own: only the next clock
// shows it.
class BusListener {
 public:
  virtual void OnStart(const LineState&) {}  // SDA fell while SCL was high
  virtual void OnStop(const LineState&) {}   // SDA rose while SCL was high
  virtual void OnSclRise(const LineState&) {}
  virtual void OnSclFall(const LineState&) {}

 protected:
  ~BusListener() = default;
};
using EdgeHandler = void (BusListener::*)(const LineState&);

class LineBus {
 public:
  static constexpr int kMaster = 0;

  LineBus() : outputs_(1) {}

  // A new participant (a device); its outputs start released.
  int AddParticipant();
  void AddListener(BusListener* listener) { listeners_.push_back(listener); }
  // Called after every change of LineState (lines or outputs).
  void SetObserver(std::function<void(const LineState&)> observer) {
    observer_ = std::move(observer);
  }

  // Sets one output of a participant: `release` true lets the line go,
  // false pulls it low.
  void Drive(int participant, Line line, bool release);
  const LineState& State() const { return state_; }

  // Power-on: every output released, both lines high, no edge delivered.
  void ReleaseAll();

 private:
  struct Outputs {
    bool scl = true;
    bool sda = true;
  };
  struct Edge {
    EdgeHandler handler;
    LineState state;  // the lines right after the change
  };

  LineState Combine() const;
  void Deliver();

  std::vector<Outputs> outputs_;  // [kMaster] is the master
  std::vector<BusListener*> listeners_;
  std::function<void(const LineState&)> observer_;
  LineState state_;
  std::deque<Edge> pending_;
  bool delivering_ = false;
};

}  // namespace sim
