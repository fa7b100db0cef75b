#pragma once

#include "report/model/component.h"

#include <QString>

namespace rep::test {

// A new object of class T, named and placed under its parent, for building small reports.
template<typename T>
T *make(TrepComponent *parent, const QString &name)
{
    auto *o = new T;
    o->SetParent(parent);
    o->SetName(name);
    return o;
}

} // namespace rep::test
