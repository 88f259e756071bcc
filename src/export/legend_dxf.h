// The legend sheet of a section in DXF: groundwater, sample and consistency types met in the
// section's boreholes, and the table of its IGEs with hatch samples.
#pragma once
#include "drawing/render_section.h"
#include "export/dxf_convert.h"
#include "export/dxf_writer.h"

namespace orvo::exporter {

// Writes the whole file (header, tables, entities, trailer) and returns the sheet's width in
// millimetres: 210, and 165 more for every further column of the IGE table.
double WriteLegendDxf(DxfWriter& w, DxfDictionaries& dictionaries,
                      const drawing::SectionDrawingInput& input);

} // namespace orvo::exporter
