#pragma once

#include <memory>
#include <type_traits>
#include <typeinfo>

#include "grid/grid_cell_base.h"

// A class of cells that a grid creates by itself (its class of new cells, a cell's type), in
// place of the original's run-time class information: every such class comes from
// CGridCellBase and can be made without arguments.
struct CCellClass {
    using Creator = std::unique_ptr<CGridCellBase> (*)();

    const char* name;
    Creator create;
};

template <class T>
const CCellClass* CellClassOf() {
    static_assert(std::is_base_of_v<CGridCellBase, T>, "cells come from CGridCellBase");
    static const CCellClass cls{
        typeid(T).name(), [] { return std::unique_ptr<CGridCellBase>(std::make_unique<T>()); }};
    return &cls;
}
