#include "runtime/work_area.h"

#include <algorithm>

#include "runtime/evaluator.h"
#include "runtime/host_error.h"

namespace zuvtill::runtime {
namespace {

// Compares key with a scope or a sought value: a text only over the
// length of the sought text, so that "AB" matches every key beginning "AB".
int ComparePrefix(const Value& key, const Value& sought) {
  if (key.IsText() && sought.IsText()) {
    std::string_view k = key.AsText();
    std::string_view s = sought.AsText();
    return k.substr(0, s.size()).compare(s);
  }
  return CompareKeys(key, sought);
}

}  // namespace

int CompareKeys(const Value& a, const Value& b) {
  if (a.GetType() != b.GetType()) return static_cast<int>(a.GetType()) - static_cast<int>(b.GetType());
  switch (a.GetType()) {
    case Value::Type::Character: return a.AsText().compare(b.AsText());
    case Value::Type::Numeric: return a.AsNumber() < b.AsNumber() ? -1 : a.AsNumber() > b.AsNumber() ? 1 : 0;
    case Value::Type::Date: return a.AsDate().julian - b.AsDate().julian;
    case Value::Type::Logical: return static_cast<int>(a.AsLogical()) - static_cast<int>(b.AsLogical());
    default: return 0;
  }
}

WorkArea::WorkArea(std::string alias, DbfTable table, std::vector<OrderDefinition> orders)
    : alias_(std::move(alias)), table_(std::move(table)) {
  std::sort(orders.begin(), orders.end(), [](const auto& a, const auto& b) { return a.number < b.number; });
  for (OrderDefinition& d : orders) {
    NodePtr key;
    try {
      key = ParseExpression(d.expression);
    } catch (const HostError& e) {
      throw HostError("order " + std::to_string(d.number) + " of " + alias_ + ": " + e.what());
    }
    IndexedOrder order;
    order.definition = std::move(d);
    order.key = std::move(key);
    orders_.push_back(std::move(order));
  }
  if (!orders_.empty()) active_ = 0;
  try {
    GoTop();
  } catch (const HostError&) {
    // A key that cannot be computed shows its error when the order is used.
    record_ = 1;
  }
}

WorkArea::IndexedOrder* WorkArea::Active() {
  if (active_ < 0) return nullptr;
  IndexedOrder& order = orders_[active_];
  if (!order.built) Build(order);
  return &order;
}

void WorkArea::Build(IndexedOrder& order) {
  long saved = record_;
  long count = LastRec();
  order.entries.clear();
  order.entries.reserve(count);
  try {
    for (long r = 1; r <= count; ++r) {
      record_ = r;
      order.entries.push_back({EvaluateWithFields(order.key, *this), r});
    }
  } catch (const HostError& e) {
    record_ = saved;
    throw HostError("key of order " + std::to_string(order.definition.number) + " of " + alias_ + ": " + e.what());
  }
  record_ = saved;
  std::stable_sort(order.entries.begin(), order.entries.end(),
                   [](const Entry& a, const Entry& b) { return CompareKeys(a.key, b.key) < 0; });
  order.positionOf.assign(count + 1, -1);
  for (long i = 0; i < count; ++i) order.positionOf[order.entries[i].record] = i;
  order.built = true;
}

void WorkArea::Invalidate() {
  for (IndexedOrder& order : orders_) order.built = false;
}

std::pair<long, long> WorkArea::ScopeRange(IndexedOrder& order) {
  const std::vector<Entry>& e = order.entries;
  auto first = e.begin();
  if (!order.topKey.IsNil()) {
    first = std::partition_point(e.begin(), e.end(),
                                 [&](const Entry& x) { return ComparePrefix(x.key, order.topKey) < 0; });
  }
  auto last = e.end();
  if (!order.bottomKey.IsNil()) {
    last = std::partition_point(first, e.end(),
                                [&](const Entry& x) { return ComparePrefix(x.key, order.bottomKey) <= 0; });
  }
  return {first - e.begin(), last - e.begin()};
}

void WorkArea::GoTop() {
  bof_ = false;
  IndexedOrder* order = Active();
  if (!order) {
    Position(1);
    bof_ = LastRec() == 0;
    return;
  }
  auto [first, last] = ScopeRange(*order);
  Position(first < last ? order->entries[first].record : LastRec() + 1);
  bof_ = first >= last;
}

void WorkArea::GoBottom() {
  bof_ = false;
  IndexedOrder* order = Active();
  if (!order) {
    Position(LastRec() > 0 ? LastRec() : 1);
    bof_ = LastRec() == 0;
    return;
  }
  auto [first, last] = ScopeRange(*order);
  Position(first < last ? order->entries[last - 1].record : LastRec() + 1);
  bof_ = first >= last;
}

void WorkArea::GoTo(long record) {
  bof_ = false;
  Position(record >= 1 && record <= LastRec() ? record : LastRec() + 1);
}

void WorkArea::Skip(long count) {
  bof_ = false;
  found_ = false;
  if (count == 0) return;
  IndexedOrder* order = Active();
  long first = 0, last = 0, index = 0;
  if (order) {
    std::tie(first, last) = ScopeRange(*order);
    index = Eof() ? last : order->positionOf[record_];
  } else {
    first = 1;
    last = LastRec() + 1;
    index = record_;
  }
  if (Eof() && count < 0) index = last;
  long target = index + count;
  if (target >= last) {
    Position(LastRec() + 1);
  } else if (target < first) {
    Position(first < last ? (order ? order->entries[first].record : first) : LastRec() + 1);
    bof_ = true;
  } else {
    Position(order ? order->entries[target].record : target);
  }
}

bool WorkArea::Seek(const Value& key, bool soft) {
  IndexedOrder* order = Active();
  bof_ = false;
  if (!order) throw HostError("seek in " + alias_ + " without an active order");
  auto [first, last] = ScopeRange(*order);
  if (first < last && order->entries[first].key.GetType() != key.GetType()) {
    throw HostError(std::string("seek in ") + alias_ + ": a " + TypeName(key.GetType()) + " value for a " +
                    TypeName(order->entries[first].key.GetType()) + " key");
  }
  const std::vector<Entry>& e = order->entries;
  auto at = std::partition_point(e.begin() + first, e.begin() + last,
                                 [&](const Entry& x) { return ComparePrefix(x.key, key) < 0; });
  bool exact = at != e.begin() + last && ComparePrefix(at->key, key) == 0;
  Position(exact || (soft && at != e.begin() + last) ? at->record : LastRec() + 1);
  found_ = exact;
  return exact;
}

void WorkArea::FieldPut(int field, const Value& value) {
  table_.Write(record_, field, value);
  Invalidate();
}

void WorkArea::Append() {
  Position(table_.Append());
  Invalidate();
}

void WorkArea::SetOrder(int number) {
  if (number == 0) {
    active_ = -1;
    return;
  }
  for (std::size_t i = 0; i < orders_.size(); ++i) {
    if (orders_[i].definition.number == number) {
      active_ = static_cast<int>(i);
      return;
    }
  }
  throw HostError(alias_ + " has no order " + std::to_string(number));
}

Value WorkArea::SetScope(int which, Value scope) {
  IndexedOrder* order = Active();
  if (!order) throw HostError("scope in " + alias_ + " without an active order");
  Value key = scope.IsBlock() ? Evaluate(scope) : scope;
  Value& given = which == 0 ? order->top : order->bottom;
  Value previous = given;
  given = std::move(scope);
  (which == 0 ? order->topKey : order->bottomKey) = std::move(key);
  return previous;
}

Value WorkArea::Scope(int which) const {
  if (active_ < 0) return {};
  return which == 0 ? orders_[active_].top : orders_[active_].bottom;
}

long WorkArea::KeyCount() {
  IndexedOrder* order = Active();
  if (!order) return LastRec();
  auto [first, last] = ScopeRange(*order);
  return last - first;
}

TableState WorkArea::SaveState() const { return {Order(), record_, Scope(0), Scope(1)}; }

void WorkArea::RestoreState(const TableState& state) {
  SetOrder(state.order);
  if (active_ >= 0) {
    SetScope(0, state.top);
    SetScope(1, state.bottom);
  }
  GoTo(state.record);
}

}  // namespace zuvtill::runtime
