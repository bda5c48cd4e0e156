// The page's side of the browser build (see present/web/page.h): the canvas,
// full screen, the address's options, fetching a script and the end message.
mergeInto(LibraryManager.library, {
  $MorvelPage: {
    width: 0,
    height: 0,
    fullscreen: false,
    context: null,
    stage: function () { return document.getElementById('stage'); },
    canvas: function () { return document.getElementById('canvas'); },
    status: function (text) { document.getElementById('status').textContent = text; },
    // A full-screen mode asks the browser for its full screen; the picture is
    // scaled to fit it, or, where the browser refuses, to fit the page.
    enterFullscreen: function () {
      var stage = MorvelPage.stage();
      stage.classList.add('fit');
      if (stage.requestFullscreen && !document.fullscreenElement) {
        stage.requestFullscreen().catch(function (error) {
          console.warn('morvel: the browser refused full screen (' + error.message +
                       '); the picture is scaled to fit the page');
        });
      }
    },
    leaveFullscreen: function () {
      MorvelPage.stage().classList.remove('fit');
      if (document.fullscreenElement && document.exitFullscreen) {
        document.exitFullscreen().catch(function () {});
      }
    },
  },

  morvel_page_show__deps: ['$MorvelPage'],
  morvel_page_show: function (pixels, width, height, fullscreen) {
    var canvas = MorvelPage.canvas();
    if (canvas.width !== width || canvas.height !== height || !MorvelPage.context) {
      canvas.width = width;
      canvas.height = height;
      MorvelPage.context = canvas.getContext('2d', { alpha: false });
    }
    if ((fullscreen !== 0) !== MorvelPage.fullscreen) {
      MorvelPage.fullscreen = fullscreen !== 0;
      if (MorvelPage.fullscreen) {
        MorvelPage.enterFullscreen();
      } else {
        MorvelPage.leaveFullscreen();
      }
    }
    var bytes = new Uint8ClampedArray(HEAPU8.buffer, pixels, width * height * 4);
    MorvelPage.context.putImageData(new ImageData(bytes, width, height), 0, 0);
  },

  morvel_page_option: function (name) {
    var value = new URLSearchParams(window.location.search).get(UTF8ToString(name));
    return value === null ? 0 : allocateUTF8(value);
  },

  morvel_page_ended__deps: ['$MorvelPage'],
  morvel_page_ended: function (status, message) {
    var text = UTF8ToString(message);
    MorvelPage.leaveFullscreen();
    if (text) {
      console.error(text);
    }
    MorvelPage.status(text || (status === 0 ? 'The game has ended.'
                                            : 'The game stopped (status ' + status +
                                              '); the console says why.'));
    var again = document.getElementById('again');
    again.hidden = false;
    again.onclick = function () { window.location.reload(); };
    window.morvelStatus = status;
    window.morvelDone = true;
  },

  morvel_page_fetch: function (url) {
    var address = UTF8ToString(url);
    var hand = function (call, text) {
      var pointer = allocateUTF8(text);
      call(pointer);
      _free(pointer);
    };
    fetch(address).then(function (response) {
      if (!response.ok) {
        throw new Error('HTTP ' + response.status + (response.statusText ? ' ' + response.statusText : ''));
      }
      return response.text();
    }).then(function (text) {
      hand(_morvel_web_script_arrived, text);
    }, function (error) {
      hand(_morvel_web_script_failed, error.message || String(error));
    });
  },

  morvel_page_pointer__deps: ['$MorvelPage'],
  morvel_page_pointer: function (visible) {
    MorvelPage.canvas().style.cursor = visible ? '' : 'none';
  },

  morvel_page_warn: function (text) {
    console.warn(UTF8ToString(text));
  },

  morvel_page_title: function (text) {
    document.title = UTF8ToString(text);
  },
});
