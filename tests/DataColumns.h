#pragma once

// The columns of a data-driven test's table in one line: the types as template arguments,
// the names in the same order, e.g. columns<QString, int>("name", "score").
#include <QTest>

namespace testdata {

template <typename... Types, typename... Names> void columns(const Names &...names)
{
    static_assert(sizeof...(Types) == sizeof...(Names), "one name for each column type");
    (QTest::addColumn<Types>(names), ...);
}

} // namespace testdata
