// Where the till finds korvena-service. Served by the service itself
// (--web-root), leave `service` empty: the page's own origin. Served by any
// other web server, name the service here, e.g. "http://127.0.0.1:8730",
// and give the service this page's origin with --allow-origin.
window.KORVENA_TILL = Object.freeze({
  service: "",
  device: "COM1",
});
