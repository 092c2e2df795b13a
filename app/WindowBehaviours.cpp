#include "app/WindowBehaviours.h"

void ToggleGraph(TStatsForm& form, TGraphWindow& window) {
  if (window.GraphVisible()) {
    form.UserHidden = true;
    window.HideGraph();
  } else {
    form.UserHidden = false;
    window.ShowGraph();
  }
}

void WindowMoved(TStatsForm& form, TGraphWindow& window) {
  if (form.MovingSelf) return;
  form.HomeLeft = window.Left();
  form.HomeTop = window.Top();
}

void ActivationChanged(TStatsForm& form, bool active) {
  if (active) {
    form.IsActive = true;
  } else if (!form.DialogOpen) {
    form.IsActive = false;
  }
}
