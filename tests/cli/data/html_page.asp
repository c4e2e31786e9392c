<html><head><title>пбне</title></head>
<body>
<%
Dim n
n = 1
Response.Write n
%>
<p>footer</p>
</body></html>
