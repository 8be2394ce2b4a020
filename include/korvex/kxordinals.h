/* The fixed ordinals of the engine's exports.
 *
 * Callers that bind by ordinal (the batch converter) look the number up in
 * the module's ordinal table through the platform's GetProcAddress with
 * MAKEINTRESOURCE(ordinal). Ordinals never change. */
#ifndef KORVEX_KXORDINALS_H
#define KORVEX_KXORDINALS_H

#ifdef __cplusplus
extern "C" {
#endif

enum KXOrdinal {
    KXORD_CreateDocInstance = 1,
    KXORD_Read = 2,
    KXORD_Close = 3,
    KXORD_GetInfo = 4,
    KXORD_Draw = 5,
    KXORD_Write = 6,
    KXORD_DeleteDocInstance = 7,
    KXORD_AddLine = 8,
    KXORD_AddPolyline = 9,
    KXORD_AddCircle = 10,
    KXORD_AddEllipse = 11,
    KXORD_AddArc = 12,
    KXORD_AddEllipticArc = 13,
    KXORD_AddRegion = 14,
    KXORD_ClipRgnCreate = 15,
    KXORD_ClipRgnAdd = 16,
    KXORD_ClipRgnAddCircle = 17,
    KXORD_ClipRgnSet = 18,
    KXORD_StartBlock = 19,
    KXORD_EndBlock = 20,
    KXORD_InsertBlock = 21,
    KXORD_InsertBlockStr = 22,
    KXORD_AddText = 23,
    KXORD_HatchCreate = 24,
    KXORD_HatchCreatePattern = 25,
    KXORD_HatchAddPattern = 26,
    KXORD_HatchSetClipRgn = 27,
    KXORD_AttribColor = 28,
    KXORD_AttribLineStyle = 29,
    KXORD_AttribLayer = 30,
    KXORD_AttribSet = 31,
    KXORD_AttribGet = 32,
    KXORD_CreatePath = 33,
    KXORD_PathAddPolyline = 34,
    KXORD_PathAddCircleArc = 35,
    KXORD_PathAddEllipticArc = 36,
    KXORD_PathAddSpline = 37,
    KXORD_ClipRgnAddPath = 38,
    KXORD_AddSpline = 39,
    KXORD_CreateView = 40,
    KXORD_ViewShow = 41,
    KXORD_ViewSetDoc = 42,
    KXORD_ViewSetDocDelete = 43,
    KXORD_ViewDelete = 44,
    KXORD_ViewCreateTool = 45,
    KXORD_ViewZoom = 46,
    KXORD_ViewZoomAll = 47,
    KXORD_ViewBkwZoom = 48,
    KXORD_ViewFrwZoom = 49,
    KXORD_ViewBkwZoomAvailable = 50,
    KXORD_ViewFrwZoomAvailable = 51,
    KXORD_ViewBmkSet = 52,
    KXORD_ViewBmkGetSize = 53,
    KXORD_ViewBmkGetMaxSize = 54,
    KXORD_ViewBmkGoNext = 55,
    KXORD_ViewBmkNextAvailable = 56,
    KXORD_ViewBmkGoPrev = 57,
    KXORD_ViewBmkPrevAvailable = 58,
    KXORD_ViewBmkGetName = 59,
    KXORD_ViewBmkGoto = 60,
    KXORD_ViewBmkGetCurrent = 61,
    KXORD_ViewBmkRemove = 62,
    KXORD_AddLayout = 63,
    KXORD_GetCurrentLayout = 64,
    KXORD_SetCurrentLayout = 65,
    KXORD_GetNumLayouts = 66,
    KXORD_GetLayout = 67,
    KXORD_GetNumLayers = 68,
    KXORD_GetLayer = 69,
    KXORD_SetLayer = 70,
    KXORD_ViewRefresh = 71,
    KXORD_GetLayerInitial = 72,
    KXORD_SetDisplayMode = 73,
    KXORD_GetDisplayMode = 74,
    KXORD_SetFgColor = 75,
    KXORD_SetBgColor = 76,
    KXORD_ViewDrawDC = 77,
    KXORD_AddProperty = 78,
    KXORD_GetProperties = 79,
    KXORD_GetNumProperties = 80,
    KXORD_ViewBmkRename = 81,
    KXORD_PushCoordSys3D = 82,
    KXORD_PopCoordSys3D = 83,
    KXORD_Count = 83
};

#ifdef __cplusplus
}
#endif

#endif
