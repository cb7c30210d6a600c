#pragma once
#include "Hand.h"
#include <QList>

// A hand of the given ranks, suits taken in turn so equal ranks differ.
Hand handOf(const QList<int> &ranks);
