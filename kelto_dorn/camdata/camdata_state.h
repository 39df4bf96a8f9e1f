#pragma once
// The program-wide state of the CAM data subsystem in one reset: the
// machining order (order_items.h), the post table (post_table.h), the ATC
// renumbering of the machining order (cam_builder.h) and the output kind
// that the next NC data creation dialog opens with.
namespace dorn {

// The output kind (1 data creation, 2 graphic, 3 data map, 4 NC check) that
// the next NC data creation dialog takes on opening; 0 keeps the stored one.
extern int g_ncOutputRequest;

// Back to the state before start-up.
void ResetCamDataState();

}  // namespace dorn
