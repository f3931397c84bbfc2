#pragma once
// Helpers of the debugger windows' tests: an engine with a plain core of its own, and a
// user who acts in the next modal dialog as soon as it is open.

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

#include "engine/core.h"
#include "params/params_rec.h"

namespace velmora::test {

// An engine whose whole core of coreSize cells is in use, with numWarriors empty warriors.
inline std::unique_ptr<TCore> MakeCore(TCustomMardexForm& form, TPlatform& platform,
                                       int32_t coreSize = 8000, int32_t numWarriors = 2) {
  TParamsRec params = DefaultParams();
  params.CoreSizeMax = coreSize;
  params.ReadLimit = coreSize;
  params.WriteLimit = coreSize;
  params.NumWarriors = numWarriors;
  params.MaxProcesses = 64;
  std::unique_ptr<TCore> core = TCore::Create(params, form, platform);
  core->CoreSize = coreSize;
  for (int32_t i = 0; i < numWarriors; ++i)
    core->AddWarrior();
  return core;
}

// Runs act on the next modal dialog once it is showing (polling, since the dialog is only
// opened by the call that follows this one).
inline void WhenModal(std::function<void(QWidget*)> act) {
  auto* timer = new QTimer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, act] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible()) return;
    timer->stop();
    timer->deleteLater();
    act(modal);
  });
  timer->start();
}

} // namespace velmora::test
