#pragma once
// Points the events of a front end's lasting engine object (LastingSplitter,
// LastingAssembler) at one command's run for as long as the run lives.

namespace vtq {

template <typename Lasting, typename Events>
class RoutedEvents {
 public:
  RoutedEvents(Lasting& lasting, Events& events) : lasting_(lasting) {
    lasting_.RouteEventsTo(&events);
  }
  ~RoutedEvents() { lasting_.RouteEventsTo(nullptr); }
  RoutedEvents(const RoutedEvents&) = delete;
  RoutedEvents& operator=(const RoutedEvents&) = delete;

 private:
  Lasting& lasting_;
};

}  // namespace vtq
