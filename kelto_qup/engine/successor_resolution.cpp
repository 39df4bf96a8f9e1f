// Successor resolution: the loop removal of offset contours. When a contour
// is offset, an offset element can be swallowed by its neighbours (a notch
// narrower than twice the offset, an arc smaller than the offset). Before the
// offset candidate C (R1) is accepted as the successor of the current element
// A (R0), the elements after it are offset the same way and intersected with
// C, with A and with each other; the candidate is accepted or rejected, and
// followers found to be cut off are marked consumed.
//
// Phases: the first state (the joint Pj of A and C), then the walk over the
// followers by state: mode 0x2222 (ResolveSuccessorA) states 2, 13, 31, 3, 4;
// mode 0x1112 (ResolveSuccessorB) states 2, 3, 4, 5, 55, 7, 8. Either may go
// back to the first state after marking an element consumed, so every call
// ends. R0, R1 (but for its flags) and RangeStart are given back on exit.
#include <cmath>

#include "kelto_qup/engine/engine_geometry.h"
#include "kelto_qup/engine/number_helpers.h"
#include "kelto_qup/engine/run_context.h"

namespace qup {

namespace {

using geom::Vec2;

// Joints closer than this (mm) are the same place.
constexpr double kSamePoint = 0.001;
// A rounded cosine above this continues the current element tangentially.
constexpr double kTangentCosine = 0.999;

enum class Found { None, Tangent, Accepted, Restarted };
enum class Step { EndOfRange, NoJoint, Joint };
enum class Outcome { Running, Accept, Reject, Restart };

// The direction of travel of an element at a point: a line's direction, an
// arc's tangent from its centre (d6/d7) in its turning sense.
Vec2 DirectionAt(const NcElement& e, Vec2 p) {
  if (e.d1 == 0.0) return geom::DirectionD2(e);
  const Vec2 radial = p - geom::PointD6(e);
  const double length = geom::Length(radial);
  const Vec2 u = length > 0.0 ? (1.0 / length) * radial : Vec2{1.0, 0.0};
  return geom::QuarterTurn(u, e.d1);
}

class SuccessorResolution {
 public:
  SuccessorResolution(RunContext& run, int mode, int a)
      : run_(run),
        mode_(mode),
        a_(a),
        entryR0_(run.R0),
        entryR1_(run.R1),
        entryRangeStart_(run.RangeStart),
        keptFlags_(run.R1.flags) {
    // The tolerance of the ahead tests, by mode.
    aheadLimit_ = mode == kResolveModeA ? -0.000001 : -0.0001;
  }

  void Run() {
    Outcome outcome = Outcome::Restart;
    while (outcome == Outcome::Restart) {
      outcome = FirstState();
      if (outcome == Outcome::Running) outcome = mode_ == kResolveModeA ? RunModeA() : RunModeB();
      if (run_.AbortFlag != 0) break;
      if (outcome == Outcome::Restart) RestoreEntry();
    }
    RestoreEntry();
    run_.R1.flags = keptFlags_;
    run_.ElementIndex = outcome == Outcome::Accept ? kReady : 0;
  }

 private:
  void RestoreEntry() {
    run_.R0 = entryR0_;
    run_.R1 = entryR1_;
    run_.R1.flags = keptFlags_;
    run_.RangeStart = entryRangeStart_;
  }

  bool Ahead(Vec2 x, Vec2 y, Vec2 t) const {
    const Vec2 s = x - y;
    const double length = geom::Length(s);
    const double c = length > kSamePoint ? geom::Dot((1.0 / length) * s, t) : -1.0;
    return c > aheadLimit_;
  }

  Vec2 JointR0() const { return geom::PointD4(run_.R0); }
  static void PointToTail(NcElement& e) {
    e.d4 = e.d6;
    e.d5 = e.d7;
  }
  void MarkConsumed(int index) {
    if (run_.CheckedIndex(index)) run_.elements[index].flags |= kConsumedMark;
  }

  Outcome FirstState() {
    RunContext& r = run_;
    auto& turn = r.core.TurnPoints;
    turn[0] = {r.R0.d4, r.R0.d5};
    turn[1] = {r.R1.d4, r.R1.d5};
    PointToTail(r.R0);
    PointToTail(r.R1);
    if (r.SetSideFromNext(r.RangeStart, 0) == kStopRun) return Outcome::Reject;
    const int flagsAfterSide = r.R1.flags;
    if (mode_ == kResolveModeB) keptFlags_ = flagsAfterSide;

    if (!r.CheckedIndex(r.RangeStart)) return Outcome::Reject;
    const int g = r.elements[r.RangeStart].flags;
    r.elements[r.RangeStart].flags =
        (r.R1.flags & kReversedSide) != 0 ? (g | kReversedSide) : (g & static_cast<int>(0xFFF00000u));
    if (a_ != 0) {
      if (r.ChooseIntersection() == 0) {
        r.elements[r.RangeStart].flags = g;
        return Outcome::Reject;
      }
      r.elements[r.RangeStart].flags = r.R1.flags;
    } else if (r.IntersectWithNext() == 0) {
      r.elements[r.RangeStart].flags = g;
      return Outcome::Reject;
    }
    if (mode_ == kResolveModeA) keptFlags_ = r.R1.flags;

    pj_ = JointR0();
    t0_ = DirectionAt(entryR0_, pj_);
    tp_ = DirectionAt(r.R1, pj_);
    const double c = RoundTo3Decimals(geom::Dot(tp_, t0_));
    if (a_ == 0 && c > kTangentCosine) found_ = Found::Tangent;

    copyC_ = r.R1;
    if (mode_ == kResolveModeB) geom::SetD4(copyC_, pj_);
    r.R0 = r.R1;
    firstIdx_ = lastIdx_ = r.RangeStart;
    r.core.OffsetRadiusSum = 0.0;
    count_ = 0;
    p_ = pj_;
    return Outcome::Running;
  }

  // One step of the walk over the followers: the next element that survives
  // offsetting, intersected with R0. `hook` runs before the intersection.
  template <typename Hook>
  Step Walk(int type, Hook hook) {
    RunContext& r = run_;
    for (;;) {
      if (r.AbortFlag != 0) return Step::EndOfRange;
      if (r.RangeStart == r.RangeEnd) return Step::EndOfRange;
      r.RangeStart += r.RangeStep;
      r.ElementIndex = r.RangeStart;
      if (!r.CheckedLoad(r.R1, r.RangeStart)) return Step::EndOfRange;
      r.core.FlagWord = r.R1.flags & 0xFFFF;
      if (r.core.FlagWord == kConsumedMark) continue;
      NcElement& entry = r.elements[r.RangeStart];
      if (r.core.OffsetRadiusSum < 0.0) {
        r.R1.flags |= kReversedSide;
        entry.flags |= kReversedSide;
      }
      r.ReverseNextIfBackward();
      r.ResolveNextElement(0, 0);
      if (r.ElementIndex == 0) {
        entry.flags |= kConsumedMark;
        r.core.OffsetRadiusSum = r.R1.code == kCodeArc ? r.R2.d1 + r.R1.d1 : 0.0;
        continue;
      }
      hook();
      PointToTail(r.R1);
      r.core.OffsetRadiusSum = 0.0;
      if (r.SetSideFromNext(r.RangeStart, type) == kStopRun) return Step::EndOfRange;
      return r.IntersectWithNext() != 0 ? Step::Joint : Step::NoJoint;
    }
  }

  // State 2 without a joint (both modes): a line candidate whose follower is
  // an arc that misses it loses the arc; an arc candidate whose follower is a
  // line that misses it is rejected; otherwise the follower is passed over.
  Outcome FollowerMissed(int& state) {
    RunContext& r = run_;
    const bool candidateIsLine = copyC_.d1 == 0.0;
    const bool followerIsLine = r.R1.d1 == 0.0;
    if (candidateIsLine && !followerIsLine) {
      MarkConsumed(r.RangeStart);
      found_ = Found::None;
      return Outcome::Restart;
    }
    if (!candidateIsLine && followerIsLine) return Outcome::Reject;
    a_ += 1;
    state = 2;
    return Outcome::Running;
  }

  // Back to the last surviving element before H (searched from H towards the
  // candidate in the walking direction), offset as the walk offsets, and
  // intersected with H again.
  Outcome Rebase(int& state) {
    RunContext& r = run_;
    const NcElement h = r.R1;
    const int hIndex = r.RangeStart;
    const int savedIndexWord = r.ElementIndex;
    bool found = false;
    for (int index = hIndex - r.RangeStep;; index -= r.RangeStep) {
      const bool beyondFirst = r.RangeStep > 0 ? index < firstIdx_ : index > firstIdx_;
      if (beyondFirst) break;
      if (!r.CheckedIndex(index)) return Outcome::Reject;
      if ((r.elements[index].flags & 0xFFFF) == kConsumedMark) continue;
      r.R1 = r.elements[index];
      r.ReverseNextIfBackward();
      r.ResolveNextElement(0, 0);
      const bool survives = r.ElementIndex != 0;
      if (!survives) continue;
      r.R0 = r.R1;
      PointToTail(r.R0);
      found = true;
      break;
    }
    (void)found;  // nothing found: the joint is taken with R0 as it stands
    r.R1 = h;
    r.RangeStart = hIndex;
    r.ElementIndex = savedIndexWord;
    if (r.IntersectWithNext() == 0) return Outcome::Accept;
    q_ = JointR0();
    t1_ = DirectionAt(r.R1, q_);
    state = 3;
    return Outcome::Running;
  }

  Outcome RunModeA() {
    RunContext& r = run_;
    int state = 2;
    for (;;) {
      if (r.AbortFlag != 0) return Outcome::Reject;
      switch (state) {
        case 2: {
          const Step step = Walk(1, [&] {
            r.core.TurnPoints[2] = {r.R1.d4, r.R1.d5};
            ++count_;
          });
          if (step == Step::EndOfRange) {
            return (copyC_.d1 == 0.0 || count_ == 0) ? Outcome::Accept : Outcome::Reject;
          }
          if (step == Step::NoJoint) {
            const Outcome o = FollowerMissed(state);
            if (o != Outcome::Running) return o;
            break;
          }
          q_ = JointR0();
          if (r.WorkLength == 0.0 && a_ == 0 && found_ != Found::None) return Outcome::Accept;
          t1_ = DirectionAt(r.R1, q_);
          tc_ = DirectionAt(copyC_, q_);
          const double dq = geom::Distance(q_, pj_);
          if (dq <= kSamePoint) return Outcome::Reject;
          if (copyC_.d1 == 0.0 && geom::Dot((1.0 / dq) * (q_ - pj_), tc_) < 0.0) return Outcome::Reject;
          lastIdx_ = r.RangeStart;
          state = 13;
          break;
        }
        case 13: {
          // Does A meet the follower F on F's other side?
          r.R0 = entryR0_;
          PointToTail(r.R0);
          if ((r.R1.flags & kReversedSide) != 0) {
            r.R1.flags &= static_cast<int>(0xFF000000u);
          } else {
            r.R1.flags |= kReversedSide;
          }
          if (r.IntersectWithNext() == 0) {
            r.core.OffsetRadiusSum = 0.0;
            state = 31;
            break;
          }
          const Vec2 q2 = JointR0();
          if (Ahead(q2, pj_, t0_) || (copyC_.d1 == 0.0 && r.R1.d1 == 0.0)) {
            found_ = Found::Accepted;
            state = 3;
            break;
          }
          return Ahead(q_, q2, t1_) ? Outcome::Accept : Outcome::Reject;
        }
        case 3:
          r.R0 = r.R1;
          r.core.OffsetRadiusSum = 1.0;
          lastIdx_ = r.RangeStart;
          if (r.R0.d1 != 0.0) return Outcome::Accept;
          state = 4;
          break;
        case 4: {
          const Step step = Walk(2, [] {});
          if (step == Step::EndOfRange) return Outcome::Accept;
          if (step == Step::NoJoint) break;
          const Vec2 q5 = JointR0();
          if (!Ahead(q5, q_, t1_)) MarkConsumed(lastIdx_);
          return Outcome::Accept;
        }
        case 31: {
          r.R0 = entryR0_;
          PointToTail(r.R0);
          const Step step = Walk(2, [] {});
          if (step == Step::EndOfRange) return Outcome::Accept;
          if (step == Step::NoJoint) break;
          const Vec2 q4 = JointR0();
          if (Ahead(q4, pj_, t0_)) {
            found_ = Found::Accepted;
            const Outcome o = Rebase(state);
            if (o != Outcome::Running) return o;
            break;
          }
          const double dq = geom::Distance(q_, pj_);
          if (dq > 0.0 && geom::Dot((1.0 / dq) * (q_ - pj_), tc_) > -0.000001) return Outcome::Accept;
          if (geom::Distance(q_, q4) > kSamePoint && Ahead(q_, q4, t1_)) {
            found_ = Found::Accepted;
            const Outcome o = Rebase(state);
            if (o != Outcome::Running) return o;
            break;
          }
          return (entryR0_.d1 == 0.0 && r.R1.d1 == 0.0) ? Outcome::Accept : Outcome::Reject;
        }
        default:
          throw EngineInvariantError("successor resolution: unknown state");
      }
    }
  }

  Outcome RunModeB() {
    RunContext& r = run_;
    int state = 2;
    int behind = 0;
    double dq = 0.0;
    Vec2 qPrime{};
    for (;;) {
      if (r.AbortFlag != 0) return Outcome::Reject;
      switch (state) {
        case 2: {
          const Step step = Walk(1, [&] { r.core.TurnPoints[2] = {r.R1.d4, r.R1.d5}; });
          if (step == Step::EndOfRange) return Outcome::Accept;
          if (step == Step::NoJoint) {
            const Outcome o = FollowerMissed(state);
            if (o != Outcome::Running) return o;
            break;
          }
          q_ = JointR0();
          if (r.WorkLength == 0.0 && a_ == 0 && found_ != Found::None) return Outcome::Accept;
          dq = geom::Distance(q_, pj_);
          if (dq <= kSamePoint) return Outcome::Reject;
          if (geom::Dot((1.0 / dq) * (q_ - pj_), tp_) <= -0.0001) return Outcome::Reject;
          p_ = q_;
          state = 3;
          break;
        }
        case 3:
          r.R0 = r.R1;
          lastIdx_ = r.RangeStart;
          r.core.OffsetRadiusSum = 0.0;
          state = 4;
          break;
        case 4: {
          const Step step = Walk(2, [] {});
          if (step == Step::EndOfRange) return Outcome::Accept;
          if (step == Step::NoJoint) break;
          qPrime = JointR0();
          // F is R0 (its centre and direction are untouched by the joint).
          if (Ahead(qPrime, q_, DirectionAt(r.R0, qPrime))) {
            behind = 0;
          } else {
            behind = 1;
            count_ = 0;
            MarkConsumed(lastIdx_);
          }
          r.RangeStart -= r.RangeStep;  // G is looked at again
          state = 5;
          break;
        }
        case 5:
          p_ = pj_;
          r.core.OffsetRadiusSum = 0.0;
          state = 55;
          break;
        case 55: {
          const Step step = Walk(1, [&] {
            r.core.TurnPoints[0] = {r.R1.d4, r.R1.d5};
            r.R0 = copyC_;
            PointToTail(r.R0);
            ++count_;
          });
          if (step == Step::EndOfRange) return behind == 0 ? Outcome::Accept : Outcome::Reject;
          if (step == Step::NoJoint) {
            if (behind == 0) return Outcome::Accept;
            break;
          }
          const Vec2 q2 = JointR0();
          if (Ahead(q2, pj_, tp_)) {
            if (behind == 1) return Outcome::Accept;
            if (dq <= geom::Distance(q2, pj_)) return Outcome::Accept;
            p_ = q2;
            state = 7;
            break;
          }
          if (behind == 0) return Outcome::Accept;
          if (count_ == 1) {
            state = 5;
            break;
          }
          return Outcome::Reject;
        }
        case 7:
          r.R0 = r.R1;
          r.core.OffsetRadiusSum = 0.0;
          state = 8;
          break;
        case 8: {
          const Step step = Walk(0, [] {});
          if (step == Step::EndOfRange) return Outcome::Accept;
          if (step == Step::NoJoint) break;
          const Vec2 q3 = JointR0();
          const Vec2 e = q3 - qPrime;
          Vec2 v = q3 - p_;
          const double f = geom::Length(v);
          const double eLength = geom::Length(e);
          if (eLength <= kSamePoint) return Outcome::Accept;
          if (f > kSamePoint) v = (1.0 / f) * v;
          const double c = geom::Dot((1.0 / eLength) * e, v);
          if (c <= -0.0001) return Outcome::Accept;
          if (eLength <= f) return Outcome::Accept;
          MarkConsumed(lastIdx_);
          if (found_ != Found::None) return Outcome::Accept;
          found_ = Found::Restarted;
          return Outcome::Restart;
        }
        default:
          throw EngineInvariantError("successor resolution: unknown state");
      }
    }
  }

  RunContext& run_;
  const int mode_;
  int a_;
  const NcElement entryR0_;
  const NcElement entryR1_;
  const int entryRangeStart_;
  int keptFlags_;
  double aheadLimit_ = -0.000001;

  Found found_ = Found::None;
  int firstIdx_ = 0;
  int lastIdx_ = 0;
  int count_ = 0;
  NcElement copyC_{};
  Vec2 pj_{}, t0_{}, tp_{}, p_{}, q_{}, t1_{}, tc_{};
};

}  // namespace

void RunContext::ResolveSuccessorA(int a) { SuccessorResolution(*this, kResolveModeA, a).Run(); }

void RunContext::ResolveSuccessorB(int a) { SuccessorResolution(*this, kResolveModeB, a).Run(); }

}  // namespace qup
