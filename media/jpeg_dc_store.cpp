// Works through libjpeg's memory-manager interface: requests for block arrays
// come here, and each access gets a window of whole blocks filled from the
// store, and emptied back into it at the next access when it could have been
// written. The window's AC coefficients are zero outside what was filled in.
#include "media/jpeg_dc_store.h"

#include <cstdlib>
#include <cstring>

#include <jerror.h>

namespace {

DcStore& store_of(j_common_ptr info) { return *static_cast<DcStore*>(info->client_data); }

[[noreturn]] void fail(j_common_ptr info, int code) {
    info->err->msg_code = code;
    info->err->error_exit(info);
    std::abort();  // error_exit does not return
}

jvirt_barray_ptr request_array(j_common_ptr info, int, boolean, JDIMENSION blocks_per_row, JDIMENSION rows,
                               JDIMENSION max_access) {
    DcStore& store = store_of(info);
    const auto* decompressor = reinterpret_cast<j_decompress_ptr>(info);
    const int component = store.requests++;
    if (component >= decompressor->num_components || blocks_per_row > 0xFFFF) fail(info, JERR_BAD_VIRTUAL_ACCESS);
    jvirt_barray_control& array = store.arrays.emplace_back();
    array.rows = rows;
    array.blocks_per_row = blocks_per_row;
    array.window_rows = max_access;
    array.keeps_ac = jpeg_component_needs_ac(*decompressor, decompressor->comp_info[component]);
    return &array;
}

void realize_arrays(j_common_ptr info) {
    DcStore& store = store_of(info);
    store.library.realize_virt_arrays(info);
    bool out_of_memory = false;
    for (auto& a : store.arrays) {
        try {
            a.dc.assign(size_t(a.rows) * a.blocks_per_row, 0);
            if (a.keeps_ac) a.ac.resize(a.rows);
        } catch (const std::bad_alloc&) {
            out_of_memory = true;
        }
        if (out_of_memory) break;
        a.window = store.library.alloc_barray(info, JPOOL_IMAGE, a.blocks_per_row, a.window_rows);
        for (JDIMENSION r = 0; r < a.window_rows; ++r) std::memset(a.window[r], 0, a.blocks_per_row * sizeof(JBLOCK));
    }
    if (out_of_memory) fail(info, JERR_OUT_OF_MEMORY);
}

// Moves the nonzero AC coefficients of one window row into the store, leaving zeros.
bool save_ac(JBLOCKROW blocks, JDIMENSION count, std::vector<SparseCoefficient>& saved) {
    saved.clear();
    try {
        for (JDIMENSION b = 0; b < count; ++b) {
            for (uint16_t k = 1; k < DCTSIZE2; ++k) {
                if (blocks[b][k] == 0) continue;
                saved.push_back({uint16_t(b), k, blocks[b][k]});
                blocks[b][k] = 0;
            }
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

void clear_ac(JBLOCKROW blocks, const std::vector<SparseCoefficient>& loaded) {
    for (const auto& c : loaded) blocks[c.block][c.position] = 0;
}

// Empties the window into the store. AC coefficients change only in AC scans.
bool unload_window(jvirt_barray_control& a) {
    for (JDIMENSION r = 0; r < a.window_used; ++r) {
        const JDIMENSION row = a.window_start + r;
        if (a.window_written) {
            JCOEF* dc = &a.dc[size_t(row) * a.blocks_per_row];
            for (JDIMENSION b = 0; b < a.blocks_per_row; ++b) dc[b] = a.window[r][b][0];
        }
        if (!a.keeps_ac) continue;
        if (a.window_written && a.written_by_ac_scan) {
            if (!save_ac(a.window[r], a.blocks_per_row, a.ac[row])) return false;
        } else {
            clear_ac(a.window[r], a.ac[row]);
        }
    }
    return true;
}

void load_window(jvirt_barray_control& a, JDIMENSION start, JDIMENSION rows) {
    for (JDIMENSION r = 0; r < rows; ++r) {
        const JCOEF* dc = &a.dc[size_t(start + r) * a.blocks_per_row];
        for (JDIMENSION b = 0; b < a.blocks_per_row; ++b) a.window[r][b][0] = dc[b];
        if (a.keeps_ac)
            for (const auto& c : a.ac[start + r]) a.window[r][c.block][c.position] = c.value;
    }
    a.window_start = start;
    a.window_used = rows;
}

JBLOCKARRAY access_array(j_common_ptr info, jvirt_barray_ptr array, JDIMENSION start, JDIMENSION rows,
                         boolean writable) {
    jvirt_barray_control& a = *array;
    if (!a.window || rows > a.window_rows || start + rows > a.rows) fail(info, JERR_BAD_VIRTUAL_ACCESS);
    if (!unload_window(a)) fail(info, JERR_OUT_OF_MEMORY);
    load_window(a, start, rows);
    a.window_written = writable;
    a.written_by_ac_scan = writable && reinterpret_cast<j_decompress_ptr>(info)->Ss > 0;
    return a.window;
}

}  // namespace

bool jpeg_component_needs_ac(const jpeg_decompress_struct& info, const jpeg_component_info& component) {
    return info.max_h_samp_factor % (2 * component.h_samp_factor) == 0 &&
           info.max_v_samp_factor % (2 * component.v_samp_factor) == 0;
}

void keep_only_dc_coefficients(j_decompress_ptr info, DcStore& store) {
    store.library = *info->mem;
    info->client_data = &store;
    info->mem->request_virt_barray = request_array;
    info->mem->realize_virt_arrays = realize_arrays;
    info->mem->access_virt_barray = access_array;
}
