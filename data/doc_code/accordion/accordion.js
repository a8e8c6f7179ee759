/* Brindlewick accordion FAQ design.
   Each question is a link to its own entry, made a button (role="button",
   with Enter and the space bar) that opens and closes the answer below it:
   the entry gets the class is-open, the question aria-expanded, and the
   entry sends a "toggle" event as a <details> element would. A closed
   answer is hidden="until-found", so that the browser's find in page still
   finds it; when it does, the entry opens. Opens the entry
   that the address points at (#q-1a2b3c4d and so on) and lines it up at
   the top, and runs the "open all" and "close all" buttons. Without this
   script every answer is shown and the buttons are not (a style in
   <noscript>); every answer is printed either way. The search box has its
   own script, search.js. Nothing is done per entry until it is used, so a
   page of thousands of entries costs nothing more here. */
(function () {
  "use strict";

  var OPEN = "is-open";

  function entries() {
    return Array.prototype.slice.call(document.querySelectorAll(".qa"));
  }

  function buttonOf(entry) {
    return entry.querySelector(".question");
  }

  function setOpen(entry, open) {
    var button = buttonOf(entry);
    var answer = entry.querySelector(".answer");
    if (!button || entry.classList.contains(OPEN) === open) {
      return;
    }
    entry.classList.toggle(OPEN, open);
    button.setAttribute("aria-expanded", open ? "true" : "false");
    if (answer && open) {
      answer.removeAttribute("hidden");
    } else if (answer) {
      answer.setAttribute("hidden", "until-found");
    }
    entry.dispatchEvent(new Event("toggle"));
  }

  function setAll(open) {
    entries().forEach(function (entry) {
      setOpen(entry, open);
    });
  }

  // The entry that holds the element named by the address, if any.
  function entryFor(hash) {
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
    return target && target.closest ? target.closest(".qa") : null;
  }

  function reveal(hash, scroll) {
    var entry = entryFor(hash);
    if (!entry) {
      return;
    }
    setOpen(entry, true);
    if (scroll) {
      entry.scrollIntoView({ block: "start" });
    }
  }

  // Open the entry before the browser scrolls to it, then line up its question.
  reveal(location.hash, false);
  window.addEventListener("load", function () {
    if (entryFor(location.hash)) {
      window.requestAnimationFrame(function () {
        reveal(location.hash, true);
      });
    }
  });

  window.addEventListener("hashchange", function () {
    reveal(location.hash, true);
  });

  // Find in page came to a closed answer (the browser shows it itself)
  document.addEventListener(
    "beforematch",
    function (event) {
      var entry = event.target.closest ? event.target.closest(".qa") : null;
      if (entry) {
        setOpen(entry, true);
      }
    },
    true
  );

  function questionOf(event) {
    var target = event.target && event.target.closest ? event.target : null;
    return target ? target.closest(".qa > .q-head > .question") : null;
  }

  function toggle(question) {
    var entry = question.closest(".qa");
    setOpen(entry, !entry.classList.contains(OPEN));
  }

  document.addEventListener("keydown", function (event) {
    var question = questionOf(event);
    if (question && (event.key === " " || event.key === "Spacebar")) {
      event.preventDefault();
      toggle(question);
    }
  });

  document.addEventListener("click", function (event) {
    var question = questionOf(event);
    if (question) {
      event.preventDefault();
      toggle(question);
      return;
    }
    // A link to the entry already in the address changes no hash: open it here.
    var link = event.target && event.target.closest ? event.target.closest("a") : null;
    if (!link || link.origin !== location.origin || link.pathname !== location.pathname) {
      return;
    }
    if (link.hash && link.hash === location.hash && entryFor(link.hash)) {
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
})();
