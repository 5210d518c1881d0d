// TfrxEngine: printing a band that does not fit over as many columns and pages as it
// needs. Each step outputs the objects (or the parts of stretchable objects) that fit
// in the space left; the rest moves up by that space and waits for the next column.
#include <algorithm>
#include <cmath>
#include <map>
#include <set>

#include "engine/frxEngine.h"
#include "prepared/frxPreviewPages.h"

namespace {

constexpr double kEpsilon = 0.0001;

bool OverlapsHorizontally(const TfrxComponent& a, const TfrxComponent& b) {
  return a.Left() < b.Left() + b.Width() - kEpsilon && b.Left() < a.Left() + a.Width() - kEpsilon;
}

// The state of one split: the objects still to print and each object's own visibility,
// which the split borrows to output a part with only some of the band's objects.
class TSplitState {
 public:
  explicit TSplitState(TfrxBand& band) : band_(band) {
    for (TfrxComponent* c : band.Objects()) {
      wasVisible_[c] = c->Visible();
      if (c->InheritsFrom("TfrxSubreport")) continue;
      Pending.push_back(c);
      if (auto* s = dynamic_cast<TfrxStretcheable*>(c)) {
        s->StartParts();
        s->SetSavedHeight(s->Height());
      }
    }
    InitialCount = Pending.size();
  }
  TSplitState(const TSplitState&) = delete;
  TSplitState& operator=(const TSplitState&) = delete;
  ~TSplitState() {
    for (auto& [c, visible] : wasVisible_) c->SetVisible(visible);
  }

  // Shows exactly the objects of the part, each as visible as the template had it.
  void ShowOnly(const std::vector<TfrxComponent*>& part) {
    for (TfrxComponent* c : band_.Objects()) c->SetVisible(false);
    for (TfrxComponent* c : part) c->SetVisible(wasVisible_[c]);
  }

  // Moves down the pending objects wholly below `object` that share its columns, once
  // per step.
  void MoveBelow(const TfrxComponent& object, double by) {
    for (TfrxComponent* p : Pending) {
      if (p == &object || Shifted.count(p) || p->Top() < object.Top() + object.Height() ||
          !OverlapsHorizontally(*p, object))
        continue;
      p->SetTop(p->Top() + by);
      Shifted.insert(p);
    }
  }

  std::vector<TfrxComponent*> Pending;
  std::set<TfrxComponent*> Shifted;
  size_t InitialCount = 0;

 private:
  TfrxBand& band_;
  std::map<TfrxComponent*, bool> wasVisible_;
};

}  // namespace

void TfrxEngine::SplitBand(TfrxBand& band) {
  TSplitState state(band);
  bool anyPart = false;
  double space = FreeSpace();
  while (!state.Pending.empty()) {
    if (ProcessMessages) ProcessMessages();
    if (report_.Terminated()) break;
    state.Shifted.clear();
    std::vector<TfrxComponent*> part;
    std::vector<TfrxStretcheable*> continuing;
    for (size_t i = 0; i < state.Pending.size();) {
      TfrxComponent* o = state.Pending[i];
      auto* s = dynamic_cast<TfrxStretcheable*>(o);
      double h = o->Height();
      bool more = false;
      double gap = 0;
      if (s) {
        s->SetSavedTop(s->Top());
        s->SetHeight(space - s->Top());
        if (s->Top() < space) gap = s->SplitPart();
        h = s->SavedHeight();
        more = s->HasMoreParts();
      }
      if (o->Top() + h <= space && !more) {
        o->SetHeight(h);
        part.push_back(o);
        state.Pending.erase(state.Pending.begin() + static_cast<long>(i));
        continue;
      }
      if (s) {
        if (s->Top() < space) {
          state.MoveBelow(*s, gap);
          if (std::fabs(gap - s->Height()) < kEpsilon) {
            // Not one line fitted: the whole object waits for the next column.
            s->SetTop(space);
            s->SetHeight(s->SavedHeight());
          } else {
            part.push_back(s);
            s->SetSavedHeight(s->SavedHeight() - s->Height() + gap);
            anyPart = true;
            // The rest continues at the top of the next column (after the move up by
            // `space` below), where the objects below it already wait: they moved
            // down by the gap only.
            continuing.push_back(s);
          }
        }
        ++i;
      } else if (o->Height() <= PageHeight() - BottomBandsHeight()) {
        if (o->Top() < space) {
          state.MoveBelow(*o, space - o->Top());
          o->SetTop(space);
        }
        ++i;
      } else {
        // Taller than a page and not splittable: output whole, clipped by the page.
        part.push_back(o);
        state.Pending.erase(state.Pending.begin() + static_cast<long>(i));
      }
    }

    double height = 0;
    for (TfrxComponent* c : part) height = std::max(height, c->Top() + c->Height());
    band.SetHeight(height);
    if (state.Pending.empty())
      for (TfrxComponent* c : part) {
        auto* view = dynamic_cast<TfrxView*>(c);
        if (view && view->Align() == baBottom) c->SetTop(height - c->Height());
        auto* s = dynamic_cast<TfrxStretcheable*>(c);
        if (s && s->StretchMode() == smMaxHeight) s->SetHeight(height - s->Top());
      }
    state.ShowOnly(part);
    band.SetLeft(curX_);
    band.SetTop(curY_);
    pages_.EmitBand(band);
    curY_ += band.Height();
    activeBand_ = &band;
    if (!state.Pending.empty()) NewColumn();

    for (TfrxStretcheable* s : continuing) s->SetTop(space);
    const bool nothingOutput = !anyPart && state.Pending.size() == state.InitialCount;
    for (TfrxComponent* p : state.Pending) {
      p->SetTop(p->Top() - space);
      auto* s = dynamic_cast<TfrxStretcheable*>(p);
      if (s && nothingOutput) {
        s->SetTop(std::max(0.0, s->SavedTop()));
        s->SetHeight(s->SavedHeight());
      }
    }
    space = FreeSpace();
  }
}
