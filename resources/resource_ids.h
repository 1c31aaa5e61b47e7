/* Every resource and control id of the player, for the .rc files and the
   C++ code alike (plain #defines so windres reads them too). */
#ifndef PLYVANE_RESOURCE_IDS_H
#define PLYVANE_RESOURCE_IDS_H

#ifndef IDC_STATIC
#define IDC_STATIC               (-1)
#endif

/* Dialog templates */
#define IDD_ABOUT                100
#define IDD_PLAYER               102
#define IDD_FILE_TYPES           176
#define IDD_PLAYER_COMPACT       177
#define IDD_PLAYER_MINI          178

/* Menus and accelerators */
#define IDR_PLAYER_MENU          213
#define IDR_TRACK_MENU           243
#define IDR_ACCELERATORS         227

/* Icons */
#define IDI_PLYVANE              128
#define IDI_TRAY_PLAY            133
#define IDI_TRAY_STOP            134
#define IDI_TRAY_NEXT            135
#define IDI_TRAY_PREVIOUS        136
#define IDI_TRAY_PAUSE           224
/* The installer's and the playlist files' icons (the release). The shell
   finds a file type's icon by its place among the icons, which follow the
   ids: the audio files show the first (128), the playlists the fourth
   (131), so 129 and 130 come before it and nothing else below 131. */
#define IDI_SETUP                129
#define IDI_UNINSTALL            130
#define IDI_PLAYLIST_FILE        131

/* Bitmaps (pure green shows the button face) */
#define IDB_INFORMATION          179
#define IDB_EXIT                 181
#define IDB_STOP                 183
#define IDB_VOLUME_4             185
#define IDB_VOLUME_3             186
#define IDB_VOLUME_2             187
#define IDB_VOLUME_1             188
#define IDB_VOLUME_0             189
#define IDB_REMAINING            191
#define IDB_RANDOM               192
#define IDB_PROPERTIES           193
#define IDB_PREVIOUS             194
#define IDB_ELAPSED              195
#define IDB_PLAYLIST             196
#define IDB_PLAY                 197
#define IDB_PAUSE                198
#define IDB_OPEN                 199
#define IDB_NEXT                 200
#define IDB_REWIND               204
#define IDB_FORWARD              205
#define IDB_ENDLESS              206
#define IDB_ADDRESS              231

/* Controls and commands of the main window */
#define IDC_EXIT                 8
#define IDC_POSITION             1000
#define IDC_PREVIOUS             1001
#define IDC_STOP                 1002
#define IDC_PLAY                 1003
#define IDC_PAUSE                1004
#define IDC_FORWARD              1005
#define IDC_NEXT                 1006
#define IDC_OPEN                 1007
#define IDC_VOLUME               1008
#define IDC_REWIND               1009
#define IDC_ELAPSED              1010
#define IDC_REMAINING            1011
#define IDC_PROPERTIES           1012
#define IDC_ABOUT                1013
#define IDC_LOGO                 1016
#define IDC_TIME                 1017
#define IDC_SONG_NAME            1018
#define IDC_OUTPUT_PARAMETERS    1019
#define IDC_SOURCE_PARAMETERS    1020
#define IDC_TIME_LABEL           1021
#define IDC_VOLUME_PICTURE       1022
#define IDC_SCALE_END            1045
#define IDC_SCALE_START          1046
#define IDC_PLAYLIST_EDITOR      1055
#define IDC_ENDLESS              1060
#define IDC_RANDOM               1061
#define IDC_TRACK                1062
#define IDC_TOTAL_TRACKS         1063
#define IDC_TO_GO                1064
#define IDC_TRACK_LIST           1065
#define IDC_SEPARATOR            1067
#define IDC_COMPACT_BOTTOM       1068
#define IDC_LIST_TOTAL_TIME      1071
#define IDC_LIST_TIME            1072
#define IDC_LIST_TIME_LABEL      1074
#define IDC_LIST_ELAPSED         1076
#define IDC_LIST_REMAINING       1077
#define IDC_OPEN_URL             1103
#define IDC_STREAM_PROPERTIES    1119
#define IDC_INFO_GROUP           1134
/* Captions of the track section; ids so that the layouts move them too */
#define IDC_TRACK_CAPTION        1140
#define IDC_TOTAL_CAPTION        1141
#define IDC_TO_GO_CAPTION        1142
#define IDC_LIST_TOTAL_CAPTION   1143

/* About box */
#define IDC_ABOUT_NAME           1150
#define IDC_ABOUT_VERSION        1151
#define IDC_ABOUT_LOGO           1152

/* Progress window (block 300: dialog and captions; 1301-1309: controls) */
#define IDD_PROGRESS             300
#define IDS_PROGRESS_INDICATOR   301
#define IDS_INITIALIZE_PLAYLIST  302
#define IDS_INTERNET_CONNECTION  303
#define IDC_PROGRESS_ITEM        1301
#define IDC_PROGRESS_BAR         1302
#define IDC_PROGRESS_PERCENT     1303

/* The URL entry dialog and the playlist editor (editor.rc; 500-599, 1500-1599) */
#define IDD_URL_ENTRY            500
#define IDD_PLAYLIST_EDITOR      501
#define IDR_EDITOR_ACCELERATORS  502
#define IDR_EDITOR_MENU          503
#define IDB_EDITOR_NEW           510
#define IDB_EDITOR_IMPORT        511
#define IDB_EDITOR_SAVE          512
#define IDB_EDITOR_DELETE        513
#define IDB_EDITOR_TOP           514
#define IDB_EDITOR_BOTTOM        515
#define IDB_EDITOR_LAUNCH        516
#define IDC_URL_EDIT             1500
#define IDC_EDITOR_NEW           1501
#define IDC_EDITOR_LOAD          1502
#define IDC_EDITOR_URL           1503
#define IDC_EDITOR_IMPORT        1504
#define IDC_EDITOR_SAVE          1505
#define IDC_EDITOR_PROPERTIES    1506
#define IDC_EDITOR_DELETE        1507
#define IDC_EDITOR_TOP           1508
#define IDC_EDITOR_BOTTOM        1509
#define IDC_EDITOR_LAUNCH        1510
#define IDC_EDITOR_LIST          1511
#define IDC_EDITOR_LIST_GROUP    1512
#define IDC_EDITOR_HINT          1513
#define IDC_EDITOR_TYPE_GROUP    1514
#define IDC_EDITOR_FILE_TYPE     1515
#define IDC_EDITOR_SUBFOLDERS    1516
#define IDC_EDITOR_SHOW_EXTENSION 1517
#define IDC_EDITOR_SHOW_PATH     1518
#define IDC_EDITOR_VOLUME_LABEL  1519
#define IDC_EDITOR_VOLUME        1520
#define IDC_EDITOR_VOLUME_SPIN   1521
#define ID_EDITOR_HELP           1530

/* Property sheet pages and the file-type check (property_pages.rc; 400-404, 1400-1451) */
#define IDD_PAGE_AUDIO_DEVICE    400
#define IDD_PAGE_PLAYBACK_MODE   401
#define IDD_PAGE_BUFFERS         402
#define IDD_PAGE_CONTROLS        403
#define IDD_PAGE_INTERNET        404
#define IDC_DEVICE_LIST          1400
#define IDC_STEREO               1401
#define IDC_MONO                 1402
#define IDC_16BIT                1403
#define IDC_8BIT                 1404
#define IDC_METHOD_TIMER         1405
#define IDC_METHOD_THREAD        1406
#define IDC_METHOD_DEVICE        1407
#define IDC_RATIO_1_1            1410
#define IDC_RATIO_1_2            1411
#define IDC_RATIO_1_4            1412
#define IDC_QUALITY_BEST         1413
#define IDC_QUALITY_BETTER       1414
#define IDC_QUALITY_GOOD         1415
#define IDC_QUALITY_REFERENCE    1416
#define IDC_BUFFER_SLIDER        1420
#define IDC_BUFFER_TIME          1421
#define IDC_DISABLE_CONTINUOUS   1422
#define IDC_TASKBAR_CONTROLS     1430
#define IDC_SCROLL_CAPTION       1431
#define IDC_DIALOG_SIZE          1432
#define IDC_PROXY                1440
#define IDC_PROXY_PORT           1441
#define IDC_USER                 1442
#define IDC_PASSWORD             1443
#define IDC_DOWNLOAD_ONLY        1444
#define IDC_DOWNLOAD_AND_SAVE    1445
#define IDC_SKIP_FILE_SCAN       1446
#define IDC_FILE_TYPES_ICON      1450
#define IDC_DO_NOT_ASK_AGAIN     1451

/* The stream file properties sheet: its three pages and their fields */
#define IDD_STREAM_ID3           600
#define IDD_STREAM_PROPERTIES    601
#define IDD_STREAM_STATISTICS    602
#define IDC_ID3_TITLE            1600
#define IDC_ID3_ARTIST           1601
#define IDC_ID3_ALBUM            1602
#define IDC_ID3_YEAR             1603
#define IDC_ID3_COMMENT          1604
#define IDC_ENTRY_FILE_NAME      1610
#define IDC_ENTRY_VOLUME         1611
#define IDC_ENTRY_VOLUME_SPIN    1612
#define IDC_FILE_DURATION        1613
#define IDC_PLAYBACK_DURATION    1614
#define IDC_PLAYBACK_SPIN        1615
#define IDC_STREAM_TYPE          1620
#define IDC_STREAM_FREQUENCY     1621
#define IDC_STREAM_CHANNEL_MODE  1622
#define IDC_STREAM_BITRATE       1623
#define IDC_STREAM_PACK_RATIO    1624
#define IDC_STREAM_DESCRIPTION   1625

/* Menu commands without a control */
#define ID_MENU_TITLE            32776
#define ID_HIDE                  32777
#define ID_SELECT_TRACK          32779
#define ID_HELP_INDEX            57670

/* Commands posted to the main window by other parts of the program */
#define ID_REMOTE_COMMANDLINE    21381
#define WM_TRAYNOTIFY            21382
#define ID_RESTART_OUTPUT        21383
#define ID_TASKBAR_CONTROLS_ON   21384
#define ID_TASKBAR_CONTROLS_OFF  21385
#define ID_SCROLL_CAPTION_ON     21386
#define ID_SCROLL_CAPTION_OFF    21387
#define ID_SET_DIALOG_STATE      21388

#endif
