#include "gamestate/TableFlowState.h"

namespace {

TableFlowState s_Flow;

} // namespace

TableFlowState& GetTableFlow()
{
    return s_Flow;
}
