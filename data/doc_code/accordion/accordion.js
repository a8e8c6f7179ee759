/* Brindlewick accordion FAQ design.
   Opens the entry that the address points at (#q-1a2b3c4d and so on) and
   lines it up at the top, runs the "open all" and "close all" buttons, and
   prints every answer. Without this script the page still works: every
   question opens with a click, and the buttons are not shown (a style in
   <noscript>). The search box has its own script, search.js. */
(function () {
  "use strict";

  function entries() {
    return Array.prototype.slice.call(document.querySelectorAll("details.qa"));
  }

  function setAll(open) {
    entries().forEach(function (details) {
      details.open = open;
    });
  }

  // The <details> that holds the element named by the address, if any.
  function detailsFor(hash) {
    var id = hash ? hash.replace(/^#/, "") : "";
    if (!id) {
      return null;
    }
    try {
      id = decodeURIComponent(id);
    } catch (e) {
      // keep it as it is
    }
    var target = document.getElementById(id);
    return target && target.closest ? target.closest("details.qa") : null;
  }

  function reveal(hash, scroll) {
    var details = detailsFor(hash);
    if (!details) {
      return;
    }
    details.open = true;
    if (scroll) {
      details.scrollIntoView({ block: "start" });
    }
  }

  // Open the entry before the browser scrolls to it, then line up its question.
  reveal(location.hash, false);
  window.addEventListener("load", function () {
    if (detailsFor(location.hash)) {
      window.requestAnimationFrame(function () {
        reveal(location.hash, true);
      });
    }
  });

  window.addEventListener("hashchange", function () {
    reveal(location.hash, true);
  });

  // A link to the entry already in the address changes no hash: open it here.
  document.addEventListener("click", function (event) {
    var link = event.target && event.target.closest ? event.target.closest("a") : null;
    if (!link || link.origin !== location.origin || link.pathname !== location.pathname) {
      return;
    }
    if (link.hash && link.hash === location.hash && detailsFor(link.hash)) {
      event.preventDefault();
      reveal(link.hash, true);
    }
  });

  var tools = document.querySelector(".tools");
  if (tools) {
    tools.addEventListener("click", function (event) {
      var button = event.target && event.target.closest ? event.target.closest("button") : null;
      if (!button) {
        return;
      }
      var action = button.getAttribute("data-faq");
      if (action === "open-all") {
        setAll(true);
      } else if (action === "close-all") {
        setAll(false);
      }
    });
    tools.hidden = false;
  }

  // Print every answer, then put the page back as it was.
  var openBeforePrint = null;
  window.addEventListener("beforeprint", function () {
    openBeforePrint = entries().map(function (details) {
      return details.open;
    });
    setAll(true);
  });
  window.addEventListener("afterprint", function () {
    if (!openBeforePrint) {
      return;
    }
    var list = entries();
    openBeforePrint.forEach(function (open, i) {
      if (list[i]) {
        list[i].open = open;
      }
    });
    openBeforePrint = null;
  });
})();
